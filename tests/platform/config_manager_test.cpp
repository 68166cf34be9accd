// The configuration manager's "UnInstall": documents it refuses change nothing, and a
// document that names several packages is checked whole before any is removed.

#include "platform/config_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/config_process.h"
#include "platform/registry.h"
#include "tests/platform/package_fixture.h"
#include "tools/wceload/installer.h"

namespace zentri::test {
namespace {

using ::testing::HasSubstr;

class ConfigManager : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareHandset();
        for (const char* name : {"Alpha", "Beta"}) {
            std::string cab = std::string("\\Program Files\\Zentri\\cabs\\") + name + ".cab";
            MakeCab(cab,
                    {{"_setup.xml", SetupXml(name, std::string("%CE1%\\") + name,
                                             FolderXml("%InstallDir%", {{"run.exe", "RUN.001"}}))},
                     {"RUN.001", name}});
            ASSERT_TRUE(wceload::InstallCab(cab).ok);
        }
    }

    bool Installed(const std::string& name) {
        platform::RegKey key;
        return platform::RegKey::Open("\\Security\\AppInstall\\" + name, key) ==
               platform::RegResult::Ok;
    }

    TempDevice device;
};

TEST_F(ConfigManager, RefusedDocumentsChangeNothing) {
    const std::string uninstall = UninstallDocument("Alpha");
    struct Case {
        const char* what;
        std::string document;
        int status;
    } cases[] = {
        {"not XML", "<wap-provisioningdoc><characteristic", platform::kConfigMalformed},
        {"empty text", "", platform::kConfigMalformed},
        {"another root", "<provisioning>" + uninstall + "</provisioning>",
         platform::kConfigMalformed},
        {"empty document", "<wap-provisioningdoc/>", platform::kConfigUnknownCharacteristic},
        {"unknown characteristic",
         "<wap-provisioningdoc><characteristic type=\"Registry\"/></wap-provisioningdoc>",
         platform::kConfigUnknownCharacteristic},
        {"uninstall value other than 1",
         "<wap-provisioningdoc><characteristic type=\"UnInstall\"><characteristic type=\"Alpha\">"
         "<parm name=\"uninstall\" value=\"0\"/></characteristic></characteristic>"
         "</wap-provisioningdoc>",
         platform::kConfigUnknownCharacteristic},
        {"no names",
         "<wap-provisioningdoc><characteristic type=\"UnInstall\"/></wap-provisioningdoc>",
         platform::kConfigUnknownCharacteristic},
        {"not installed", UninstallDocument("Gamma"), platform::kConfigNotInstalled},
        {"a platform key", UninstallDocument("TSKAllowed"), platform::kConfigNotInstalled},
        {"a path instead of a name", UninstallDocument("Alpha\\ExecutableFiles"),
         platform::kConfigNotInstalled},
        {"one of two not installed",
         "<wap-provisioningdoc><characteristic type=\"UnInstall\">"
         "<characteristic type=\"Alpha\"><parm name=\"uninstall\" value=\"1\"/></characteristic>"
         "<characteristic type=\"Gamma\"><parm name=\"uninstall\" value=\"1\"/></characteristic>"
         "</characteristic></wap-provisioningdoc>",
         platform::kConfigNotInstalled},
    };
    DeviceSnapshot before = TakeSnapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string result = "stale";
        EXPECT_EQ(platform::ProcessConfiguration(c.document, &result), c.status);
        EXPECT_LT(c.status, 0);
        if (c.status == platform::kConfigMalformed)
            EXPECT_EQ(result, "");
        else
            EXPECT_THAT(result, HasSubstr("characteristic-error"));
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(before, after) << Describe(before, after);
    }
}

TEST_F(ConfigManager, RemovesEveryNamedPackageAndOnlyThose) {
    // Spelled differently, spread over lines: names compare as registry keys do.
    std::string document =
        "<?xml version=\"1.0\"?>\n<wap-provisioningdoc>\n  <characteristic type=\"uninstall\">\n"
        "    <characteristic type=\"ALPHA\">\n      <parm name=\"uninstall\" value=\"1\"/>\n"
        "    </characteristic>\n  </characteristic>\n</wap-provisioningdoc>\n";
    EXPECT_EQ(platform::ProcessConfiguration(document, nullptr), platform::kConfigOk);
    EXPECT_FALSE(Installed("Alpha"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Alpha"));
    EXPECT_TRUE(Installed("Beta"));
    EXPECT_EQ(device.ReadFile("\\Program Files\\Beta\\run.exe"), "Beta");
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Alpha"), nullptr),
              platform::kConfigNotInstalled);
}

// The client's way: the document goes to the provision program in a child process, so package
// code that crashes or prints takes nothing of the caller with it.
TEST(ConfigManagerProcess, ACrashingSetupLibraryFailsTheRemovalAndTheCallerGoesOn) {
    TempDevice device;
    PrepareHandset();
    const std::string cab = "\\Program Files\\Zentri\\cabs\\probe.cab";
    MakeCab(cab, {{"_setup.xml",
                   SetupXml("Probe", "%CE1%\\Probe",
                            FolderXml("%InstallDir%", {{"probe.exe", "P.001"}}), "SETUP.002")},
                  {"P.001", "probe"},
                  {"SETUP.002", SetupProbeLibrary()}});
    ASSERT_TRUE(wceload::InstallCab(cab).ok);
    DeviceSnapshot installed = TakeSnapshot();
    std::string result = "stale";
    {
        ScopedEnv crash("ZENTRI_SETUP_PROBE_CRASH", "Uninstall_Init");
        EXPECT_EQ(platform::ProcessConfigurationInChild(UninstallDocument("Probe"), &result),
                  platform::kConfigAborted);
        EXPECT_EQ(result, "");
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(installed, after) << Describe(installed, after);
    }
    {
        // The library also prints a false "status: 0": the answer is the child's own.
        ScopedEnv answer("ZENTRI_SETUP_PROBE_ANSWER", "Uninstall_Init");
        EXPECT_EQ(platform::ProcessConfigurationInChild(UninstallDocument("Probe"), &result),
                  platform::kConfigCancelled);
        EXPECT_THAT(result, HasSubstr("<characteristic-error type=\"Probe\">"));
    }
    // The crashed removal left the device usable (its install lock went with the process).
    EXPECT_EQ(platform::ProcessConfigurationInChild(UninstallDocument("Probe"), &result),
              platform::kConfigOk);
    EXPECT_THAT(result, HasSubstr("<characteristic type=\"Probe\">"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Probe"));
}

TEST(ConfigManagerProcess, ADamagedRegistryIsAFailureOfItsOwnKind) {
    TempDevice device;
    namespace fs = std::filesystem;
    fs::create_directories(device.Root());
    std::ofstream(platform::RegistryFile(), std::ios::binary) << std::string(8192, 'Z');
    std::string result;
    EXPECT_EQ(platform::ProcessConfigurationInChild(UninstallDocument("Alpha"), &result),
              platform::kConfigRegistryFailed);
    EXPECT_THAT(result, HasSubstr("characteristic-error"));
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Alpha"), nullptr),
              platform::kConfigRegistryFailed);
}

}  // namespace
}  // namespace zentri::test
