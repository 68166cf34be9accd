#pragma once
// The interface language, chosen before signing in: one entry per language of the
// localization file; choosing one rebuilds every scene in it.

#include "scenes/scene.h"

namespace zentri {

class LoginChooseLanguageScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;
};

}  // namespace zentri
