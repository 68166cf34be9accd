#pragma once
// What the handset is, as the server is told: platform code, screen size in the natural
// orientation and ten features, plus the fixed tables from which the user may pick another
// platform or screen in the settings.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {
struct DeviceInfo;
}

namespace zentri {

struct DeviceProfile {
    std::u16string osver;
    int32_t w = 0;
    int32_t h = 0;
    bool phone = false;
    bool irda = false;
    bool bt = false;
    bool wifi = false;
    bool gl = false;
    bool cam = false;
    bool cam3g = false;
    bool accel = false;
    bool gps = false;
    bool keypad = false;

    bool operator==(const DeviceProfile&) const = default;
};

struct ScreenEntry {
    int32_t w;
    int32_t h;
    std::u16string name;
};

// Fills every field from the device description and the host's probes.
void DetectDeviceProfile(DeviceProfile& profile);
// The same from a given description (device.ini overrides, else probes).
void DetectDeviceProfile(DeviceProfile& profile, const platform::DeviceInfo& device);

// "wm" + version part ("5" for 5.1; "6" or "65" for 5.2 by build; empty otherwise) + "ppc",
// or "sp" when the platform type is "Smartphone".
std::u16string PlatformCode(const std::string& platformType, int major, int minor, int build);

std::vector<std::pair<std::u16string, std::u16string>> OsTable();
std::vector<ScreenEntry> ScreenTable();
// Display names; empty when the code or size is not in its table.
std::u16string OsName(const std::u16string& code);
std::u16string ScreenName(int32_t w, int32_t h);

}  // namespace zentri
