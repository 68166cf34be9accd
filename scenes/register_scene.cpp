#include "scenes/register_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "scenes/account_checks.h"

namespace zentri {

void RegisterScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(4000), true, Str(1000));
    GObjectPtr content = CreateContent(page);
    std::vector<TableLayout::Cell> cells;
    auto row = [&](int r) { cells.push_back({r, 0, 0.9, 1}); };
    AddLabel(content, Str(4001), false);
    row(0);
    loginEdit = AddEdit(content, u"", true);
    row(1);
    AddLabel(content, Str(4002), false);
    row(2);
    mailEdit = AddEdit(content, u"", true);
    row(3);
    AddLabel(content, Str(4003), false);
    row(4);
    passwordEdit = AddEdit(content, u"", true);
    passwordEdit->SetPassword(true, kPasswordChar);
    row(5);
    AddLabel(content, Str(4004), false);
    row(6);
    repeatEdit = AddEdit(content, u"", true);
    repeatEdit->SetPassword(true, kPasswordChar);
    row(7);
    FinishTable(content, cells);
}

void RegisterScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(3), Str(4005));
}

int RegisterScene::Check(std::u16string_view login, std::u16string_view mail,
                         std::u16string_view password, std::u16string_view repeat) {
    if (!IsPlainAscii(login) || !IsPlainAscii(mail)) return 4009;
    if (login.empty() || mail.empty() || password.empty() || repeat.empty()) return 1008;
    if (!LooksLikeMail(mail)) return 4008;
    if (password != repeat) return 4007;
    return 0;
}

void RegisterScene::OnRightSoftKey() {
    const std::u16string login = loginEdit->Text(), mail = mailEdit->Text();
    const std::u16string password = passwordEdit->Text();
    if (ShowMessageIfError(Check(login, mail, password, repeatEdit->Text())) != 0) return;
    App().SetBusy(false);
    regRequest = Await(api::Send(api::RegUrl(login, password, mail)), &RegisterScene::RegDone);
}

void RegisterScene::RegDone(HttpRequest* request, bool ok) {
    App().SetBusy(true);
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    if (ShowMessageIfError(XMLResponse_Reg().Parse(request->Body(), request->Size())) != 0) return;
    auto answer = App().ShowPopup(Str(8), Str(4006), Str(1), u"");
    if (!answer) return;
    answer->Add([](PopupBox::PopupBoxResult result) {
        if (result == PopupBox::LeftKey) Kestro::Instance().app->GoBack();
    });
}

}  // namespace zentri
