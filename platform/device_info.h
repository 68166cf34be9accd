#pragma once
// The description of the emulated handset: device.ini in the device root, created with the
// defaults on first use, plus the ZENTRI_SCREEN and ZENTRI_DPI overrides of one run.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct DeviceInfo {
    std::string platformType = "PocketPC";
    int osMajor = 5;
    int osMinor = 2;
    int osBuild = 21854;
    int screenWidth = 480;  // natural orientation
    int screenHeight = 640;
    int rotation = 0;  // 0, 90, 180 or 270 degrees
    int dpi = 192;
    std::string storageCard = "Storage Card";  // folder name in the device root; empty = no card
    std::string locale;                        // "0407", "de_DE" or empty (host locale)
    // Forced feature values by name ("phone", "irda", "bt", "wifi", "gl", "cam", "cam3g",
    // "accel", "gps", "keypad"); features without an entry are detected.
    std::map<std::string, bool> featureOverrides;
    // What was wrong with device.ini or the environment (each also reported once on stderr).
    std::vector<std::string> problems;

    // The screen as it is now, after rotation.
    int CurrentWidth() const { return rotation % 180 ? screenHeight : screenWidth; }
    int CurrentHeight() const { return rotation % 180 ? screenWidth : screenHeight; }
    // The system font height (the interface's base unit) and the system icon width.
    int SystemFontHeight() const;
    int IconWidth() const;
    std::optional<bool> Feature(const std::string& name) const;
};

// Reads <device root>/device.ini, creating it with the defaults when it is missing. Malformed
// lines and values are reported and the defaults used instead; never fails.
DeviceInfo LoadDeviceInfo();

// Parses device.ini text (exposed for tests); `source` names it in messages.
DeviceInfo ParseDeviceInfo(const std::string& text, const std::string& source);

// The default device.ini text.
const char* DefaultDeviceIni();

}  // namespace platform
