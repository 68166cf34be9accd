// The client's setup library, called as the installer calls it, on a fresh device each test.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/setup_library_loader.h"
#include "platform/shortcut.h"
#include "tests/support/temp_device.h"

namespace zentri::test {
namespace {

constexpr char kDir[] = "\\Program Files\\Zentri";
constexpr char kIconKey[] = "\\Security\\Shell\\StartInfo\\Start\\Zentri.lnk";

class Cabhook : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        hook = platform::SetupLibrary::Load(ZENTRI_CABHOOK, error);
        ASSERT_TRUE(hook) << error;
    }

    void UsePlatform(const char* type) {
        device.WriteFile("\\device.ini", std::string("[device]\nplatform = ") + type + "\n");
    }

    uint32_t Revision() {
        platform::RegKey key;
        uint32_t revision = 0;
        EXPECT_EQ(platform::RegKey::Open("\\Software\\Zentri", key), platform::RegResult::Ok);
        EXPECT_EQ(key.QueryDword("ZentriRevision", revision), platform::RegResult::Ok);
        return revision;
    }

    bool KeyExists(const char* path) {
        platform::RegKey key;
        return platform::RegKey::Open(path, key) == platform::RegResult::Ok;
    }

    void InstallWithSettings() {
        ASSERT_TRUE(hook->InstallExit(kDir));
        device.WriteFile("\\Program Files\\Zentri\\settings.dat", "record");
        device.WriteFile("\\Program Files\\Zentri\\cabs\\tool.cab", "cab");
    }

    TempDevice device;
    ScopedEnv headless{"ZENTRI_HEADLESS", "1"};
    std::unique_ptr<platform::SetupLibrary> hook;
};

TEST_F(Cabhook, FirstInstallRecordsRevisionShortcutAndIconEntry) {
    UsePlatform("PocketPC");
    EXPECT_TRUE(hook->InstallInit(false, kDir));
    ASSERT_TRUE(hook->InstallExit(kDir));
    EXPECT_EQ(Revision(), 12u);

    platform::RegKey icon;
    std::string iconPath;
    ASSERT_EQ(platform::RegKey::Open(kIconKey, icon), platform::RegResult::Ok);
    ASSERT_EQ(icon.QueryString("Icon", iconPath), platform::RegResult::Ok);
    EXPECT_EQ(iconPath, "\\Program Files\\Zentri\\icon.png");

    EXPECT_EQ(device.ReadFile("\\Windows\\Start Menu\\Programs\\Zentri.lnk"),
              "34#\"\\Program Files\\Zentri\\zentri.exe\"");
    EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Zentri.lnk"));
}

TEST_F(Cabhook, RevisionIsRaisedTo12ButAHigherOneIsKept) {
    platform::RegKey key;
    ASSERT_EQ(platform::RegKey::Create("\\Software\\Zentri", key), platform::RegResult::Ok);
    ASSERT_EQ(key.SetDword("ZentriRevision", 15), platform::RegResult::Ok);
    ASSERT_TRUE(hook->InstallExit(kDir));
    EXPECT_EQ(Revision(), 15u);

    ASSERT_EQ(key.SetDword("ZentriRevision", 3), platform::RegResult::Ok);
    ASSERT_TRUE(hook->InstallExit(kDir));
    EXPECT_EQ(Revision(), 12u);

    // A value of another type reads as 0 and is replaced.
    ASSERT_EQ(key.SetString("ZentriRevision", "99"), platform::RegResult::Ok);
    ASSERT_TRUE(hook->InstallExit(kDir));
    EXPECT_EQ(Revision(), 12u);
}

TEST_F(Cabhook, SmartphoneKeepsTheShortcutInTheStartMenuItself) {
    UsePlatform("Smartphone");
    ASSERT_TRUE(hook->InstallExit(kDir));
    EXPECT_TRUE(device.Exists("\\Windows\\Start Menu\\Zentri.lnk"));
    EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Programs\\Zentri.lnk"));

    ASSERT_TRUE(hook->UninstallInit(kDir));
    EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Zentri.lnk"));
}

TEST_F(Cabhook, UninstallAnswersDecideOnlyTheSettings) {
    struct Case {
        const char* answer;  // null: no display and no scripted answer
        bool settingsKept;
    };
    for (Case c : {Case{"yes", true}, Case{"no", false}, Case{nullptr, true}}) {
        SCOPED_TRACE(c.answer ? c.answer : "no answer");
        ScopedEnv answer("ZENTRI_MESSAGEBOX", c.answer);
        InstallWithSettings();
        ASSERT_TRUE(hook->UninstallInit(kDir));
        hook->UninstallExit();
        EXPECT_EQ(device.Exists("\\Program Files\\Zentri\\settings.dat"), c.settingsKept);
        EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs"));
        EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Programs\\Zentri.lnk"));
        EXPECT_FALSE(KeyExists(kIconKey));
        EXPECT_TRUE(KeyExists("\\Security\\Shell\\StartInfo\\Start"));
    }
}

TEST_F(Cabhook, MissingKeysFilesAndFoldersAreNoError) {
    ScopedEnv answer("ZENTRI_MESSAGEBOX", "no");
    EXPECT_TRUE(hook->UninstallInit(kDir));
    hook->UninstallExit();
    // A file where the key's folder should be does not stop the revision from being written.
    device.WriteFile("\\Windows\\Start Menu\\Programs", "not a folder");
    EXPECT_TRUE(hook->InstallExit(kDir));
    EXPECT_EQ(Revision(), 12u);
}

}  // namespace
}  // namespace zentri::test
