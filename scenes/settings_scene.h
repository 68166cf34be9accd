#pragma once
// The settings: the interface language, whether installed CABs are kept, and the device profile
// that the catalogue is filtered by (platform, screen, features), with a way back to what the
// device reported at start-up. Shown once after the first sign-in, with a key on to the main
// menu, and otherwise from the main menu. A change of the profile or the language reaches the
// service with the next configuration the main menu sends.

#include <functional>
#include <string>

#include "manager/device_profile.h"
#include "scenes/scene.h"

namespace zentri {

class SettingsScene : public Scene {
  public:
    explicit SettingsScene(bool firstStart);

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void Deactivate(GObjectPtr& page) override;
    void Removed(GObjectPtr& page) override;
    void OnRightSoftKey() override;

    // Shows the session state: keeps the profile as the copy to fall back on when the service
    // refuses it, fills the three values and sets the switches. The keypad and video-call
    // switches are set only when asked: after the reset to the detected profile they keep what
    // the user chose, since detection cannot know them.
    void Refresh(bool withKeypadAndCam3g);

  private:
    shared_ptr<SceneLabel> AddChoiceRow(const GObjectPtr& content, const std::u16string& icon,
                                        const std::u16string& title,
                                        const std::u16string& initialValue,
                                        std::function<void()> open);
    GObjectPtr AddSwitchRow(const GObjectPtr& content, const std::u16string& icon,
                            const std::u16string& text);
    void Open(Scene* choice);
    // The switches into the profile and the keep-CAB option; the settings file follows.
    void StoreSwitches();
    // Whether the profile or the language differ from what the scene started from.
    bool ChangedSinceEntry() const;

    bool firstStart;
    DeviceProfile profileAtEntry;
    std::u16string languageAtEntry;
    shared_ptr<SceneLabel> languageValue;
    shared_ptr<SceneLabel> osValue;
    shared_ptr<SceneLabel> screenValue;
    GObjectPtr phoneSwitch;
    GObjectPtr irdaSwitch;
    GObjectPtr btSwitch;
    GObjectPtr wifiSwitch;
    GObjectPtr glSwitch;
    GObjectPtr camSwitch;
    GObjectPtr cam3gSwitch;
    GObjectPtr accelSwitch;
    GObjectPtr gpsSwitch;
    GObjectPtr keypadSwitch;
    GObjectPtr keepCabsSwitch;
};

}  // namespace zentri
