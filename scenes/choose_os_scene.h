#pragma once
// The platform the service is told the device is, chosen from the platform table.

#include "scenes/scene.h"

namespace zentri {

class SettingsScene;

class ChooseOsScene : public Scene {
  public:
    // `settings` shows the choice; it lies below this scene for as long as this scene lives.
    explicit ChooseOsScene(SettingsScene* settings) : settings(settings) {}

    void Build(GObjectPtr& page) override;
    void OnChoose(int index) override;

  private:
    SettingsScene* settings;
};

}  // namespace zentri
