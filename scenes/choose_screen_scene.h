#pragma once
// The screen size the service is told the device has, chosen from the screen table.

#include "scenes/scene.h"

namespace zentri {

class SettingsScene;

class ChooseScreenScene : public Scene {
  public:
    // `settings` shows the choice; it lies below this scene for as long as this scene lives.
    explicit ChooseScreenScene(SettingsScene* settings) : settings(settings) {}

    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;

  private:
    SettingsScene* settings;
};

}  // namespace zentri
