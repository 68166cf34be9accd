// The installer and provision programs through their real executables: exit codes, messages
// and the CAB switches, with the installer started at its device path as the program does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/device_program.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "tests/platform/package_fixture.h"

namespace zentri::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct Outcome {
    int code;
    std::string err;
};

class ToolPrograms : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareHandset();
        ASSERT_TRUE(
            platform::StageDeviceProgram(platform::kInstallerDevicePath, ZENTRI_WCELOAD_PROGRAM));
    }

    fs::path Beside(const std::string& suffix) const {
        return device.Root().parent_path() / (device.Root().filename().string() + suffix);
    }

    // Runs the staged installer as the program does: its device path and a handset command
    // line. The child writes to this process's stderr, which is captured.
    Outcome Wceload(const std::string& commandLine) {
        ::testing::internal::CaptureStderr();
        auto process = platform::Process::Start(platform::kInstallerDevicePath, commandLine);
        int code = process ? process->Wait() : -1;
        return {code, ::testing::internal::GetCapturedStderr()};
    }

    Outcome Provision(const std::vector<std::string>& args, std::string* out = nullptr) {
        std::vector<std::string> argv = {ZENTRI_PROVISION_PROGRAM};
        argv.insert(argv.end(), args.begin(), args.end());
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        auto process = platform::Process::StartHost(argv);
        int code = process ? process->Wait() : -1;
        std::string printed = ::testing::internal::GetCapturedStdout();
        if (out) *out = printed;
        return {code, ::testing::internal::GetCapturedStderr()};
    }

    void MakeTool(const std::string& cab) {
        MakeCab(cab, {{"_setup.xml", SetupXml("Acme Tool", "%CE1%\\Acme Tool",
                                              FolderXml("%InstallDir%", {{"tool.exe", "T.001"}}))},
                      {"T.001", "tool"}});
    }

    TempDevice device;
};

TEST_F(ToolPrograms, WceloadExitCodesAndTheDeleteSwitch) {
    const std::string cab = "\\Program Files\\Zentri\\cabs\\acme tool.cab";
    MakeTool(cab);
    // What the program runs: /delete 0 and the quoted device path.
    Outcome o = Wceload("/delete 0 \"\\Program Files\\Zentri\\cabs\\acme tool.cab\"");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_THAT(o.err, HasSubstr("\"Acme Tool\" was installed in \\Program Files\\Acme Tool"));
    EXPECT_TRUE(device.Exists(cab));
    EXPECT_EQ(device.ReadFile("\\Program Files\\Acme Tool\\tool.exe"), "tool");

    o = Wceload("/noui /noaskdest /DELETE 1 \"\\Program Files\\Zentri\\cabs\\acme tool.cab\"");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");  // quiet
    EXPECT_FALSE(device.Exists(cab));

    device.WriteFile(cab, "not a cab");
    o = Wceload("/delete 1 \"\\Program Files\\Zentri\\cabs\\acme tool.cab\"");
    EXPECT_EQ(o.code, 1);
    EXPECT_THAT(o.err, HasSubstr("not a CAB"));
    EXPECT_TRUE(device.Exists(cab));  // a refused package is never deleted

    for (const char* bad : {"", "/delete", "/delete 2 x.cab", "/bogus x.cab", "a.cab \\b.cab"}) {
        o = Wceload(bad);
        EXPECT_EQ(o.code, 2) << bad;
        EXPECT_THAT(o.err, HasSubstr("usage:")) << bad;
    }
}

TEST_F(ToolPrograms, DeleteRemovesOnlyTheCabInstalledFromAndOnlyInsideTheDevice) {
    // The cabs folder is a link to a host folder: the package installs, the CAB there stays.
    fs::path outside = Beside("-cabs");
    fs::create_directories(outside);
    fs::path cabs = platform::HostPath("\\Program Files\\Zentri\\cabs");
    fs::remove_all(cabs);
    fs::create_directory_symlink(outside, cabs);
    MakeTool("\\Program Files\\Zentri\\cabs\\tool.cab");
    Outcome o = Wceload("/delete 1 \"\\Program Files\\Zentri\\cabs\\tool.cab\"");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_THAT(o.err, HasSubstr("was not deleted"));
    EXPECT_TRUE(fs::exists(outside / "tool.cab"));
    fs::remove(cabs);
    fs::create_directory(cabs);
    fs::remove_all(outside);

    // A package that places a file at its own CAB's path keeps that file.
    const std::string cab = "\\Program Files\\Zentri\\cabs\\self.cab";
    MakeCab(cab, {{"_setup.xml", SetupXml("Self", "%CE1%\\Zentri\\cabs",
                                          FolderXml("%InstallDir%", {{"self.cab", "S.001"}}))},
                  {"S.001", "installed"}});
    o = Wceload("/noui /delete 1 \"" + cab + "\"");
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(device.ReadFile(cab), "installed");
}

TEST_F(ToolPrograms, ProvisionExitCodes) {
    MakeTool("\\Program Files\\Zentri\\cabs\\tool.cab");
    ASSERT_EQ(Wceload("/silent \\Program Files\\Zentri\\cabs\\tool.cab").code, 2);  // unquoted
    ASSERT_EQ(Wceload("/silent \"\\Program Files\\Zentri\\cabs\\tool.cab\"").code, 0);
    fs::path document = Beside("-doc.xml");
    std::ofstream(document) << UninstallDocument("Acme Tool");

    std::string out;
    Outcome o = Provision({document.string()}, &out);
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_THAT(out, HasSubstr("status: 0\n<wap-provisioningdoc>"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Acme Tool"));

    o = Provision({document.string()}, &out);  // not installed any more
    EXPECT_EQ(o.code, 1);
    EXPECT_THAT(out, HasSubstr("status: -3"));
    EXPECT_THAT(out, HasSubstr("characteristic-error"));

    EXPECT_EQ(Provision({(device.Root() / "missing.xml").string()}).code, 1);
    EXPECT_EQ(Provision({}).code, 2);
    EXPECT_EQ(Provision({"a.xml", "b.xml"}).code, 2);
    fs::remove(document);
}

}  // namespace
}  // namespace zentri::test
