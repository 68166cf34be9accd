#include "manager/device_profile.h"

#include <gtest/gtest.h>

#include "platform/device_info.h"
#include "platform/registry.h"
#include "tests/support/temp_device.h"

namespace zentri {
namespace {

using test::ScopedEnv;
using test::TempDevice;

TEST(PlatformCode, FollowsVersionBuildAndEdition) {
    EXPECT_EQ(PlatformCode("PocketPC", 5, 1, 14847), u"wm5ppc");
    EXPECT_EQ(PlatformCode("Smartphone", 5, 1, 14847), u"wm5sp");
    EXPECT_EQ(PlatformCode("PocketPC", 5, 2, 21000), u"wm6ppc");  // 6.1: build not above 21000
    EXPECT_EQ(PlatformCode("Smartphone", 5, 2, 19202), u"wm6sp");
    EXPECT_EQ(PlatformCode("PocketPC", 5, 2, 21001), u"wm65ppc");
    EXPECT_EQ(PlatformCode("Smartphone", 5, 2, 23563), u"wm65sp");
    EXPECT_EQ(PlatformCode("PocketPC", 6, 0, 0), u"wmppc");    // unknown version: no version part
    EXPECT_EQ(PlatformCode("smartphone", 4, 2, 0), u"wmppc");  // exact comparison of the type
    EXPECT_EQ(OsName(u"wmppc"), u"");
}

TEST(DetectDeviceProfile, ReadsTheDeviceAndKeepsTheNaturalOrientation) {
    platform::DeviceInfo device = platform::ParseDeviceInfo(
        "[device]\nplatform=Smartphone\nos_major=5\nos_minor=2\nos_build=21234\n"
        "screen_width=480\nscreen_height=640\nrotation=270\n"
        "[features]\nphone=1\nirda=1\nbt=0\nwifi=1\ngl=0\ncam=1\ncam3g=0\naccel=1\ngps=1\nkeypad="
        "0\n",
        "test");
    ASSERT_TRUE(device.problems.empty());
    DeviceProfile p;
    DetectDeviceProfile(p, device);
    EXPECT_EQ(p.osver, u"wm65sp");
    EXPECT_EQ(p.w, 480);
    EXPECT_EQ(p.h, 640);
    EXPECT_TRUE(p.phone && p.irda && !p.bt && p.wifi && !p.gl && p.cam && !p.cam3g && p.accel &&
                p.gps && !p.keypad);
}

TEST(DetectDeviceProfile, WithoutOverridesVideoCallCameraIsOffAndKeypadOn) {
    TempDevice device;
    DeviceProfile p;
    DetectDeviceProfile(p);
    EXPECT_EQ(p.osver, u"wm65ppc");
    EXPECT_EQ(p.w, 480);
    EXPECT_EQ(p.h, 640);
    EXPECT_FALSE(p.cam3g);
    EXPECT_TRUE(p.keypad);
    EXPECT_FALSE(p.phone);
    EXPECT_FALSE(p.irda);
    EXPECT_FALSE(p.gps);
}

TEST(DetectDeviceProfile, GpsFromAnActiveDriverKeyInTheRegistry) {
    TempDevice device;
    platform::RegKey key;
    ASSERT_EQ(platform::RegKey::Create("\\Drivers\\Active\\01", key), platform::RegResult::Ok);
    ASSERT_EQ(key.SetString("Key", "Drivers\\BuiltIn\\Serial"), platform::RegResult::Ok);
    ASSERT_EQ(platform::RegKey::Create("\\Drivers\\Active\\02", key), platform::RegResult::Ok);
    ASSERT_EQ(key.SetDword("Key", 5), platform::RegResult::Ok);  // not text: does not count
    DeviceProfile p;
    DetectDeviceProfile(p);
    EXPECT_FALSE(p.gps);
    ASSERT_EQ(platform::RegKey::Create("\\Drivers\\Active\\03", key), platform::RegResult::Ok);
    ASSERT_EQ(key.SetString("Key", "Drivers\\BuiltIn\\Gps"),
              platform::RegResult::Ok);  // wrong case
    DetectDeviceProfile(p);
    EXPECT_FALSE(p.gps);
    ASSERT_EQ(platform::RegKey::Create("\\Drivers\\Active\\04", key), platform::RegResult::Ok);
    ASSERT_EQ(key.SetString("Key", "Drivers\\BuiltIn\\GPSID"), platform::RegResult::Ok);
    DetectDeviceProfile(p);
    EXPECT_TRUE(p.gps);
}

TEST(DetectDeviceProfile, ScreenOverrideFromTheEnvironmentIsSentAsItIs) {
    TempDevice device;
    ScopedEnv screen("ZENTRI_SCREEN", "240x268");
    DeviceProfile p;
    DetectDeviceProfile(p);
    EXPECT_EQ(p.w, 240);
    EXPECT_EQ(p.h, 268);
    EXPECT_EQ(ScreenName(p.w, p.h), u"");
}

TEST(Tables, NamesByCodeAndSize) {
    EXPECT_EQ(OsTable().size(), 6u);
    EXPECT_EQ(OsTable().front().first, u"wm5ppc");
    EXPECT_EQ(OsName(u"wm65ppc"), u"Windows Mobile 6.5 Professional");
    EXPECT_EQ(OsName(u"WM65PPC"), u"");
    ASSERT_EQ(ScreenTable().size(), 13u);
    EXPECT_EQ(ScreenName(480, 640), u"VGA(480x640)");
    EXPECT_EQ(ScreenName(640, 480), u"VGA landscape only(640x480)");
    EXPECT_EQ(ScreenName(440, 240), u"WQVGAx landscape only(440x240)");
    EXPECT_EQ(ScreenTable().back().name, u"WVGA landscape only(800x480)");
}

}  // namespace
}  // namespace zentri
