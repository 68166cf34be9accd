#pragma once
// Shared by the core tests: a small localization file (with the service's base address) on a
// fresh device, and the session state put back to its start values between tests.

#include <string>

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

// An application that records the navigation the lower layers ask for.
struct RecordingApp : KestroApp {
    void PopToLogin() override { ++popsToLogin; }
    int popsToLogin = 0;
};

}  // namespace zentri::test
