#include "scenes/restore_password_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "scenes/account_checks.h"

namespace zentri {

void RestorePasswordScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(2000), true, Str(1000));
    GObjectPtr content = CreateContent(page);
    AddLabel(content, Str(2001), false);
    nameEdit = AddEdit(content, u"", true);
    FinishTable(content, {{0, 0, 0.9, 1}, {1, 0, 0.9, 1}});
}

void RestorePasswordScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(3), Str(2003));
}

void RestorePasswordScene::OnRightSoftKey() {
    const std::u16string name = nameEdit->Text();
    if (name.empty() || !IsPlainAscii(name)) {
        ShowMessage(1008);
        return;
    }
    // The request itself sends a mail address as "mail" and anything else as "login".
    restoreRequest = api::Send(api::AuthRestoreUrl(name));
    if (!restoreRequest) return;
    restoreRequest->Completion().Add(this, &RestorePasswordScene::RestoreDone);
    Track(restoreRequest);
}

void RestorePasswordScene::RestoreDone(HttpRequest* request, bool ok) {
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    if (ShowMessageIfError(XMLResponse_AuthRestore().Parse(request->Body(), request->Size())) != 0)
        return;
    auto answer = App().ShowPopup(Str(8), Str(2004), Str(1), u"");
    if (!answer) return;
    answer->Add([](PopupBox::PopupBoxResult result) {
        if (result == PopupBox::LeftKey) Kestro::Instance().app->GoBack();
    });
}

}  // namespace zentri
