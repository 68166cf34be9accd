#pragma once
// The password reminder: a user name or mail address; the service mails the reminder.

#include "scenes/scene.h"

namespace zentri {

class RestorePasswordScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;
    bool IsAccountScene() const override { return true; }

  private:
    void RestoreDone(HttpRequest* request, bool ok);

    shared_ptr<SceneEdit> nameEdit;
    shared_ptr<HttpRequest> restoreRequest;
};

}  // namespace zentri
