#include "scenes/login_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "net/xml_response_auth.h"
#include "scenes/account_checks.h"
#include "scenes/login_choose_language_scene.h"
#include "scenes/main_menu_scene.h"
#include "scenes/register_scene.h"
#include "scenes/restore_password_scene.h"
#include "scenes/settings_scene.h"

namespace zentri {

void LoginScene::Build(GObjectPtr& page) {
    App().loginScene = this;
    AddHeader(page, Str(1000), false, u"");
    GObjectPtr content = CreateContent(page);
    Kestro& k = Kestro::Instance();
    std::vector<TableLayout::Cell> cells;
    auto cell = [&](int row, double share) { cells.push_back({row, 0, share, 1}); };

    AddLabel(content, u"", false);
    cell(0, 0.35);
    OnTap(AddButton(content, Str(1007)), [this] { App().PushNew<LoginChooseLanguageScene>(); });
    cell(0, 0.6);
    AddLabel(content, Str(1001), false);
    cell(1, 0.9);
    loginEdit = AddEdit(content, k.login, true);
    cell(2, 0.9);
    AddLabel(content, Str(1002), false);
    cell(3, 0.9);
    passwordEdit = AddEdit(content, k.password, true);
    passwordEdit->SetPassword(true, kPasswordChar);
    cell(4, 0.9);
    AddLabel(content, u"", false);
    cell(5, 0.35);
    OnTap(AddButton(content, Str(1003)), [this] { App().PushNew<RestorePasswordScene>(); });
    cell(5, 0.6);
    AddLabel(content, Str(1004), false);
    cell(6, 0.9);
    AddLabel(content, u"", false);
    cell(7, 0.05);
    OnTap(AddButton(content, Str(1005)), [this] { App().PushNew<RegisterScene>(); });
    cell(7, 0.6);
    FinishTable(content, cells);
}

void LoginScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(1006), Str(6));
}

void LoginScene::OnRightSoftKey() {
    ConfirmExit();
}

void LoginScene::OnLeftSoftKey() {
    Kestro& k = Kestro::Instance();
    k.login = loginEdit->Text();
    k.password = passwordEdit->Text();
    if (k.login.empty() || k.password.empty() || !IsPlainAscii(k.login)) {
        ShowMessage(1008);
        return;
    }
    App().SetBusy(false);
    authRequest = Await(api::Send(api::AuthUrl(k.login, k.password)), &LoginScene::AuthDone);
}

void LoginScene::AuthDone(HttpRequest* request, bool ok) {
    App().SetBusy(true);
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    std::u16string session;
    const int32_t code = XMLResponse_Auth(session).Parse(request->Body(), request->Size());
    if (code == kResultNotActivated) {
        AskToResend();
        return;
    }
    if (code != kResultOk) {
        ShowMessage(code);
        return;
    }
    Kestro& k = Kestro::Instance();
    k.SetSessionId(session);
    if (k.CredentialsUnchanged()) {
        Continue();
        return;
    }
    auto answer = App().ShowPopup(Str(8), Str(1011), Str(1), Str(2));
    if (!answer) {
        Continue();
        return;
    }
    answer->Add([this](PopupBox::PopupBoxResult result) {
        if (result == PopupBox::LeftKey) {
            Kestro& s = Kestro::Instance();
            s.savedLogin = s.login;
            s.savedPassword = s.password;
        }
        Continue();
    });
}

void LoginScene::AskToResend() {
    auto answer = App().ShowPopup(Str(8), Str(202) + u"\n" + Str(1009), Str(1), Str(2));
    if (!answer) return;
    answer->Add([this](PopupBox::PopupBoxResult result) {
        if (result != PopupBox::LeftKey) return;
        resendRequest =
            Await(api::Send(api::ActmailResendUrl(loginEdit->Text())), &LoginScene::ResendDone);
    });
}

void LoginScene::ResendDone(HttpRequest* request, bool ok) {
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    if (ShowMessageIfError(XMLResponse().Parse(request->Body(), request->Size())) != 0) return;
    App().ShowPopup(Str(8), Str(1010), Str(0), u"");
}

void LoginScene::Continue() {
    if (Kestro::Instance().firstStart)
        App().PushNew<SettingsScene>(true);
    else
        App().PushNew<MainMenuScene>();
}

}  // namespace zentri
