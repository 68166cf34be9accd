#pragma once
// Placeholder until the scene is written: a page with its header only.

#include "scenes/scene.h"

namespace zentri {

class SettingsScene : public Scene {
  public:
    explicit SettingsScene(bool firstStart) : firstStart(firstStart) {}
    void Build(GObjectPtr& page) override;

  private:
    bool firstStart;
};

}  // namespace zentri
