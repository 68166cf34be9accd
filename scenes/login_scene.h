#pragma once
// The first scene: user name and password, sign-in, and the ways to a new account, a password
// reminder and the interface language. It stays at the bottom of the stack for the whole run;
// a rejected session returns here.

#include "scenes/scene.h"

namespace zentri {

class LoginScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnLeftSoftKey() override;
    void OnRightSoftKey() override;
    bool IsAccountScene() const override { return true; }

  private:
    void AuthDone(HttpRequest* request, bool ok);
    void ResendDone(HttpRequest* request, bool ok);
    void AskToResend();
    void Continue();

    shared_ptr<SceneEdit> loginEdit;
    shared_ptr<SceneEdit> passwordEdit;
    shared_ptr<HttpRequest> authRequest;
    shared_ptr<HttpRequest> resendRequest;
};

}  // namespace zentri
