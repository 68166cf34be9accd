#pragma once
// A new account: user name, mail address and the password twice; the service mails an
// activation link.

#include "scenes/scene.h"

namespace zentri {

class RegisterScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;
    bool IsAccountScene() const override { return true; }

    // The message id that refuses these fields before anything is sent, or 0.
    static int Check(std::u16string_view login, std::u16string_view mail,
                     std::u16string_view password, std::u16string_view repeat);

  private:
    void RegDone(HttpRequest* request, bool ok);

    shared_ptr<SceneEdit> loginEdit;
    shared_ptr<SceneEdit> mailEdit;
    shared_ptr<SceneEdit> passwordEdit;
    shared_ptr<SceneEdit> repeatEdit;
    shared_ptr<HttpRequest> regRequest;
};

}  // namespace zentri
