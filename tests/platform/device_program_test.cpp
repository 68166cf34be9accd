// Device programs staged from host executables, the installer's own staging, and the file
// icons of executables.

#include "platform/device_program.h"
#include "platform/config_manager.h"
#include "platform/config_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/file_icon.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using zentri::test::ScopedEnv;
using zentri::test::TempDevice;

fs::path HostScript(const TempDevice& device, const std::string& name, int exitCode) {
    fs::path script = device.Root().parent_path() / (device.Root().filename().string() + name);
    std::ofstream(script) << "#!/bin/sh\nexit " << exitCode << "\n";
    chmod(script.c_str(), 0755);
    return script;
}

TEST(DeviceProgram, StagingIsALinkThatIsKeptOrReplacedButNeverMissing) {
    TempDevice device;
    fs::path first = HostScript(device, "-first", 3), second = HostScript(device, "-second", 4);
    ASSERT_TRUE(StageDeviceProgram("\\Windows\\tool.exe", first));
    fs::path link = HostPath("\\Windows\\tool.exe");
    EXPECT_EQ(fs::read_symlink(link), first);
    EXPECT_EQ(Process::Start("\\Windows\\tool.exe", "")->Wait(), 3);

    struct stat before {
    }, after{};
    lstat(link.c_str(), &before);
    ASSERT_TRUE(StageDeviceProgram("\\WINDOWS\\Tool.exe", first));  // nothing to do
    lstat(link.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);

    ASSERT_TRUE(StageDeviceProgram("\\Windows\\tool.exe", second));  // a stale link
    EXPECT_EQ(Process::Start("\\Windows\\tool.exe", "")->Wait(), 4);
    fs::remove(link);
    device.WriteFile("\\Windows\\tool.exe", "an old copy");
    ASSERT_TRUE(StageDeviceProgram("\\Windows\\tool.exe", first));  // a plain file
    EXPECT_EQ(Process::Start("\\Windows\\tool.exe", "")->Wait(), 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(link.parent_path()), fs::directory_iterator()),
              1);

    EXPECT_FALSE(StageDeviceProgram("\\Windows\\other.exe", device.Root() / "missing"));
    EXPECT_FALSE(StageDeviceProgram("\\", first));
    fs::remove(first);
    fs::remove(second);
}

TEST(DeviceProgram, TheInstallerIsFoundAndStaged) {
    TempDevice device;
    {
        ScopedEnv chosen("ZENTRI_WCELOAD", "/nonexistent/wceload");
        EXPECT_EQ(InstallerExecutable(), fs::path());
        EXPECT_FALSE(StageInstaller());
    }
    fs::path built = InstallerExecutable();
    EXPECT_EQ(built, fs::path(ZENTRI_WCELOAD_PROGRAM));
    ASSERT_TRUE(StageInstaller());
    EXPECT_EQ(fs::read_symlink(HostPath(kInstallerDevicePath)), built);
    auto usage = Process::Start(kInstallerDevicePath, "");
    ASSERT_TRUE(usage);
    EXPECT_EQ(usage->Wait(), 2);  // no CAB named
}

TEST(DeviceProgram, TheConfigurationManagerIsFoundAsTheInstallerIs) {
    EXPECT_EQ(ConfigurationManagerExecutable(), fs::path(ZENTRI_PROVISION_PROGRAM));
    ScopedEnv chosen("ZENTRI_PROVISION", "/nonexistent/provision");
    EXPECT_EQ(ConfigurationManagerExecutable(), fs::path());
    // Without its program, a document fails with a status of its own; nothing runs in here.
    EXPECT_EQ(ProcessConfigurationInChild("<wap-provisioningdoc/>", nullptr), kConfigAborted);
}

TEST(FileIcon, OwnIconBesideTheExecutableElseTheGenericOne) {
    TempDevice device;
    device.WriteFile("\\Program Files\\Acme\\tool.exe", "#!/bin/sh\n");
    device.WriteFile("\\Program Files\\Acme\\tool.png", "\x89PNG own");
    EXPECT_EQ(ExecutableIcon("\\Program Files\\Acme\\tool.exe"), "\\Program Files\\Acme\\tool.png");

    device.WriteFile("\\Program Files\\Acme\\other.exe", "#!/bin/sh\n");
    EXPECT_EQ(ExecutableIcon("\\Program Files\\Acme\\other.exe"), kGenericExecutableIcon);
    EXPECT_EQ(ExecutableIcon("\\Windows\\missing.exe"), kGenericExecutableIcon);
    std::string icon = device.ReadFile(kGenericExecutableIcon);
    ASSERT_GT(icon.size(), 24u);
    EXPECT_EQ(icon.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(icon.substr(12, 4), "IHDR");
    EXPECT_EQ(icon.substr(16, 8), std::string("\0\0\0\x40\0\0\0\x40", 8));  // 64 x 64

    // A damaged copy on the device is written again.
    device.WriteFile(kGenericExecutableIcon, "garbage");
    EXPECT_EQ(ExecutableIcon("\\a.exe"), kGenericExecutableIcon);
    EXPECT_EQ(device.ReadFile(kGenericExecutableIcon), icon);
}

}  // namespace
}  // namespace platform
