#include "manager/device_profile.h"

#include "platform/device_info.h"
#include "platform/probes.h"
#include "platform/registry.h"

namespace zentri {
namespace {

// A driver whose "Key" mentions GPS among the active drivers, as the handset lists them.
bool HasActiveGpsDriver() {
    platform::RegKey active;
    if (platform::RegKey::Open("\\Drivers\\Active", active) != platform::RegResult::Ok)
        return false;
    std::string name;
    for (uint32_t i = 0; active.EnumKey(i, name) == platform::RegResult::Ok; ++i) {
        platform::RegKey driver;
        std::string key;
        if (name.size() > 255 ||
            platform::RegKey::Open("\\Drivers\\Active\\" + name, driver) != platform::RegResult::Ok)
            continue;
        if (driver.QueryString("Key", key) != platform::RegResult::Ok) continue;
        key = key.substr(0, 255);
        if (key.find("GPS") != std::string::npos || key.find("gps") != std::string::npos)
            return true;
    }
    return false;
}

bool Feature(const platform::DeviceInfo& device, const char* name, bool (*probe)()) {
    if (auto forced = device.Feature(name)) return *forced;
    return probe();
}

}  // namespace

std::u16string PlatformCode(const std::string& platformType, int major, int minor, int build) {
    std::u16string edition = platformType == "Smartphone" ? u"sp" : u"ppc";
    std::u16string version;
    if (major == 5 && minor == 1)
        version = u"5";
    else if (major == 5 && minor == 2)
        version = build > 21000 ? u"65" : u"6";
    return u"wm" + version + edition;
}

void DetectDeviceProfile(DeviceProfile& profile) {
    DetectDeviceProfile(profile, platform::LoadDeviceInfo());
}

void DetectDeviceProfile(DeviceProfile& profile, const platform::DeviceInfo& device) {
    profile.osver =
        PlatformCode(device.platformType, device.osMajor, device.osMinor, device.osBuild);
    // The size in the natural orientation: a screen turned by 90 or 270 degrees swaps back.
    bool turned = device.rotation == 90 || device.rotation == 270;
    profile.w = turned ? device.CurrentHeight() : device.CurrentWidth();
    profile.h = turned ? device.CurrentWidth() : device.CurrentHeight();

    auto never = [] { return false; };
    profile.phone = Feature(device, "phone", never);
    profile.irda = Feature(device, "irda", never);
    profile.bt = Feature(device, "bt", platform::ProbeBluetooth);
    profile.wifi = Feature(device, "wifi", platform::ProbeWifi);
    profile.gl = Feature(device, "gl", platform::Probe3dGraphics);
    profile.cam = Feature(device, "cam", platform::ProbeCamera);
    profile.cam3g = Feature(device, "cam3g", never);
    profile.accel = Feature(device, "accel", platform::ProbeAccelerometer);
    profile.gps = Feature(device, "gps", HasActiveGpsDriver);
    profile.keypad = Feature(device, "keypad", [] { return true; });
}

std::vector<std::pair<std::u16string, std::u16string>> OsTable() {
    return {
        {u"wm5ppc", u"Windows Mobile 5 Pocket PC"},
        {u"wm5sp", u"Windows Mobile 5 Smartphone"},
        {u"wm6ppc", u"Windows Mobile 6 Professional"},
        {u"wm6sp", u"Windows Mobile 6 Standard"},
        {u"wm65ppc", u"Windows Mobile 6.5 Professional"},
        {u"wm65sp", u"Windows Mobile 6.5 Standard"},
    };
}

std::vector<ScreenEntry> ScreenTable() {
    return {
        {176, 220, u"Standard(176x220)"},
        {240, 240, u"Square(240x240)"},
        {240, 320, u"QVGA(240x320)"},
        {320, 240, u"QVGA landscape only(320x240)"},
        {240, 400, u"WQVGA(240x400)"},
        {400, 240, u"WQVGA landscape only(400x240)"},
        {320, 320, u"Square QVGA(320x320)"},
        {440, 240, u"WQVGAx landscape only(440x240)"},
        {480, 480, u"Square VGA(480x480)"},
        {480, 640, u"VGA(480x640)"},
        {640, 480, u"VGA landscape only(640x480)"},
        {480, 800, u"WVGA(480x800)"},
        {800, 480, u"WVGA landscape only(800x480)"},
    };
}

std::u16string OsName(const std::u16string& code) {
    for (const auto& [c, name] : OsTable())
        if (c == code) return name;
    return {};
}

std::u16string ScreenName(int32_t w, int32_t h) {
    for (const auto& entry : ScreenTable())
        if (entry.w == w && entry.h == h) return entry.name;
    return {};
}

}  // namespace zentri
