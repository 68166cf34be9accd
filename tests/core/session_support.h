#pragma once
// Shared by the core tests: a small localization file (with the service's base address) on a
// fresh device, and the session state put back to its start values between tests.

#include <string>
#include <vector>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "platform/text.h"
#include "tests/support/temp_device.h"

namespace zentri::test {

inline constexpr const char* kLocalizationPath = "\\Program Files\\Zentri\\localization.xml";

inline std::string LocalizationFile(const std::string& base) {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<localization>
  <languages>
    <default name="en"/>
    <language id="0409" name="en" title="English"/>
    <language id="0407" name="de" title="Deutsch"/>
  </languages>
  <strings>
    <s id="1"><en val="Yes"/><de val="Ja"/></s>
    <s id="2"><en val="No"/><de val="Nein"/></s>
    <s id="8"><en val="Question"/><de val="Frage"/></s>
    <s id="5006"><en val="Zentri --ver-- is out (not --ver--)."/><de val="Zentri --ver--."/></s>
    <s id="6000"><en val="Categories"/><de val="Kategorien"/></s>
    <s id="99999"><en val=")" +
           base + R"("/><de val=")" + base + R"("/></s>
  </strings>
</localization>
)";
}

// Loads the file above into a device; the language is English (LC_ALL of the fixture).
inline void LoadLocalization(const TempDevice& device,
                             const std::string& base = "http://api.example.test/") {
    device.WriteFile(kLocalizationPath, LocalizationFile(base));
    Localization::Instance().Load(platform::Utf8ToUtf16(kLocalizationPath));
}

// The session state as a fresh start leaves it (the detected profile is kept).
inline void ResetSession() {
    Kestro& k = Kestro::Instance();
    k.keepCabs = false;
    k.app = nullptr;
    k.profile = k.detectedProfile;
    k.savedProfile = {};
    k.savedLogin.clear();
    k.savedPassword.clear();
    k.login.clear();
    k.password.clear();
    k.SetSortOrder(u"createtime");
    k.SetPriceFilter(u"");
    k.SetSessionId(u"");
    k.firstStart = false;
    k.configNeeded = true;
    k.ClearCatalogue();
}

// An application that records the navigation and the questions the lower layers ask for. Its
// questions go through the program's own popup box (without a screen: the soft keys answer).
// Its calls arrive under appLock; read what it recorded under appLock or after the callers
// ended.
struct RecordingApp : KestroApp {
    using Answer = shared_ptr<Delegation_1<PopupBox::PopupBoxResult>>;
    struct Popup {
        std::u16string caption, text, left, right;
        Answer answer;
    };

    void PopToLogin() override { ++popsToLogin; }
    Answer ShowPopup(const std::u16string& caption, const std::u16string& text,
                     const std::u16string& left, const std::u16string& right) override {
        Answer answer = KestroApp::ShowPopup(caption, text, left, right);
        if (answer) popups.push_back({caption, text, left, right, answer});
        return answer;
    }
    // Answers the box on screen as its soft key would.
    void AnswerPopup(PopupBox::PopupBoxResult result) {
        popupBox.Close(result == PopupBox::LeftKey);
    }
    void OpenMyApps() override { ++myAppsOpened; }
    void RebuildCatalogueScenes(int reason) override { rebuilds.push_back(reason); }

    int popsToLogin = 0;
    std::vector<Popup> popups;
    int myAppsOpened = 0;
    std::vector<int> rebuilds;  // the reasons, in call order
};

}  // namespace zentri::test
