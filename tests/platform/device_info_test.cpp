#include "platform/device_info.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/locale.h"
#include "platform/paths.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using zentri::test::ScopedEnv;
using zentri::test::TempDevice;

TEST(DeviceInfo, FirstUseCreatesDeviceIniWithTheDefaultDevice) {
    TempDevice device;
    ScopedEnv screen("ZENTRI_SCREEN", nullptr), dpi("ZENTRI_DPI", nullptr);
    DeviceInfo info = LoadDeviceInfo();
    EXPECT_EQ(info.platformType, "PocketPC");
    EXPECT_EQ(info.osMajor, 5);
    EXPECT_EQ(info.osMinor, 2);
    EXPECT_EQ(info.osBuild, 21854);
    EXPECT_EQ(info.screenWidth, 480);
    EXPECT_EQ(info.screenHeight, 640);
    EXPECT_EQ(info.dpi, 192);
    EXPECT_EQ(info.storageCard, "Storage Card");
    EXPECT_TRUE(info.featureOverrides.empty());
    EXPECT_TRUE(info.problems.empty());
    EXPECT_EQ(info.SystemFontHeight(), 26);
    EXPECT_EQ(info.IconWidth(), 64);
    EXPECT_EQ(device.ReadFile("\\device.ini"), DefaultDeviceIni());
}

TEST(DeviceInfo, ReadsEverySettingAndFeatureOverride) {
    DeviceInfo info = ParseDeviceInfo(
        "[device]\nplatform = Smartphone\nos_major=5\nos_minor=1\nos_build=14847\n"
        "screen_width=240\nscreen_height=320\nrotation=90\ndpi=96\nstorage_card=\nlocale=de_DE\n"
        "[features]\nphone=1\ngps=0\nwifi=\n",
        "device.ini");
    EXPECT_TRUE(info.problems.empty());
    EXPECT_EQ(info.platformType, "Smartphone");
    EXPECT_EQ(info.osMinor, 1);
    EXPECT_EQ(info.CurrentWidth(), 320);
    EXPECT_EQ(info.CurrentHeight(), 240);
    EXPECT_EQ(info.SystemFontHeight(), 13);
    EXPECT_EQ(info.IconWidth(), 32);
    EXPECT_EQ(info.storageCard, "");
    EXPECT_EQ(info.locale, "de_DE");
    EXPECT_EQ(info.Feature("phone"), std::optional<bool>(true));
    EXPECT_EQ(info.Feature("gps"), std::optional<bool>(false));
    EXPECT_EQ(info.Feature("wifi"), std::nullopt);
}

TEST(DeviceInfo, MalformedLinesKeepTheDefaultsAndAreReported) {
    DeviceInfo info = ParseDeviceInfo(
        "\xEF\xBB\xBF[device]\nscreen_width = wide\ndpi=-3\nrotation=45\nno equals "
        "sign\ncolour=blue\n"
        "storage_card=..\\..\\etc\n[features\n[features]\nphone=yes\nteleport=1\n[other]\nx=1\n",
        "device.ini");
    EXPECT_EQ(info.screenWidth, 480);
    EXPECT_EQ(info.dpi, 192);
    EXPECT_EQ(info.rotation, 0);
    EXPECT_EQ(info.storageCard, "Storage Card");
    EXPECT_TRUE(info.featureOverrides.empty());
    ASSERT_EQ(info.problems.size(), 11u);
    EXPECT_EQ(info.problems[0].rfind("device.ini:2: screen_width", 0), 0u) << info.problems[0];
}

TEST(DeviceInfo, EnvironmentOverridesOneRunWithoutTouchingTheFile) {
    TempDevice device;
    ScopedEnv screen("ZENTRI_SCREEN", "240x400"), dpi("ZENTRI_DPI", "131");
    DeviceInfo info = LoadDeviceInfo();
    EXPECT_EQ(info.screenWidth, 240);
    EXPECT_EQ(info.screenHeight, 400);
    EXPECT_EQ(info.dpi, 131);
    EXPECT_EQ(info.SystemFontHeight(), 18);
    EXPECT_EQ(device.ReadFile("\\device.ini"), DefaultDeviceIni());

    ScopedEnv badScreen("ZENTRI_SCREEN", "big"), badDpi("ZENTRI_DPI", "0");
    info = LoadDeviceInfo();
    EXPECT_EQ(info.screenWidth, 480);
    EXPECT_EQ(info.dpi, 192);
    EXPECT_EQ(info.problems.size(), 2u);
}

TEST(DeviceInfo, UnreadableRootFallsBackToTheDefaultDevice) {
    TempDevice device;
    ScopedEnv root("ZENTRI_DEVICE_ROOT", "/proc/zentri-cannot-exist");
    DeviceInfo info = LoadDeviceInfo();
    EXPECT_EQ(info.screenWidth, 480);
}

TEST(Locale, MapsHostLocaleNamesToLanguageIdentifiers) {
    EXPECT_EQ(LanguageIdFromLocaleName("en_US.UTF-8"), "0409");
    EXPECT_EQ(LanguageIdFromLocaleName("de_DE.UTF-8"), "0407");
    EXPECT_EQ(LanguageIdFromLocaleName("de_AT"), "0c07");
    EXPECT_EQ(LanguageIdFromLocaleName("ru_RU.KOI8-R"), "0419");
    EXPECT_EQ(LanguageIdFromLocaleName("en_GB@euro"), "0809");
    EXPECT_EQ(LanguageIdFromLocaleName("fr"), "040c");
    EXPECT_EQ(LanguageIdFromLocaleName("pt-BR"), "0416");
    EXPECT_EQ(LanguageIdFromLocaleName("C"), "0409");
    EXPECT_EQ(LanguageIdFromLocaleName("POSIX"), "0409");
    EXPECT_EQ(LanguageIdFromLocaleName(""), "0409");
    EXPECT_EQ(LanguageIdFromLocaleName("xx_YY"), "0409");
}

TEST(Locale, DeviceIniWinsOverTheHostThenLcAllLcMessagesLang) {
    TempDevice device;
    ScopedEnv all("LC_ALL", nullptr), messages("LC_MESSAGES", "ru_RU.UTF-8"),
        lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(UserDefaultLanguageId(), "0419");
    {
        ScopedEnv all2("LC_ALL", "de_CH.UTF-8");
        EXPECT_EQ(UserDefaultLanguageId(), "0807");
    }
    device.WriteFile("\\device.ini", "[device]\nlocale=0C07\n");
    EXPECT_EQ(UserDefaultLanguageId(), "0c07");
    device.WriteFile("\\device.ini", "[device]\nlocale=en_GB\n");
    EXPECT_EQ(UserDefaultLanguageId(), "0809");
}

}  // namespace
}  // namespace platform
