#include "platform/paths.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/folder_index.h"
#include "platform/shell.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using zentri::test::ScopedEnv;
using zentri::test::TempDevice;

TEST(DeviceRoot, FollowsTheEnvironment) {
    ScopedEnv root("ZENTRI_DEVICE_ROOT", nullptr);
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(DeviceRoot(), "/data/home/zentri/device");
    }
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(DeviceRoot(), "/home/someone/.local/share/zentri/device");
    ScopedEnv explicitRoot("ZENTRI_DEVICE_ROOT", "/elsewhere");
    EXPECT_EQ(DeviceRoot(), "/elsewhere");
}

TEST(HostPath, MapsBackslashPathsAndMatchesExistingSpellingCaseInsensitively) {
    TempDevice device;
    device.WriteFile("\\Windows\\Start Menu\\Programs\\Tool.lnk", "x");
    EXPECT_EQ(HostPath("\\WINDOWS\\start menu\\PROGRAMS\\tool.LNK"),
              device.Root() / "Windows" / "Start Menu" / "Programs" / "Tool.lnk");
    // Missing components keep the spelling they were given.
    EXPECT_EQ(HostPath("\\windows\\New Folder\\a.txt"),
              device.Root() / "Windows" / "New Folder" / "a.txt");
    EXPECT_EQ(HostPath("\\"), device.Root());
}

TEST(HostPath, AFolderIndexAnswersAsTheFolderWouldWithoutRereadingIt) {
    namespace fs = std::filesystem;
    TempDevice device;
    device.WriteFile("\\Data\\Old.txt", "x");
    FolderIndex index;
    fs::path data = device.Root() / "Data";
    EXPECT_EQ(HostPath("\\DATA\\old.TXT"), data / "Old.txt");
    EXPECT_EQ(HostPath("\\data\\new.txt"), data / "new.txt");

    // What the index is told about is found under any spelling, at once.
    fs::create_directory(data / "Sub");
    FolderIndex::NoteAdded(data / "Sub");
    std::ofstream(data / "New.txt") << "y";
    FolderIndex::NoteAdded(data / "New.txt");
    EXPECT_EQ(HostPath("\\data\\SUB\\x"), data / "Sub" / "x");
    EXPECT_EQ(HostPath("\\data\\NEW.TXT"), data / "New.txt");
    fs::remove(data / "New.txt");
    FolderIndex::NoteRemoved(data / "New.txt");
    EXPECT_EQ(HostPath("\\data\\NEW.TXT"), data / "NEW.TXT");

    // An entry that went, or changed its spelling, without word is noticed: the folder is read
    // again rather than a stale spelling returned.
    fs::rename(data / "Old.txt", data / "OLD.txt");
    EXPECT_EQ(HostPath("\\data\\old.txt"), data / "OLD.txt");
    fs::remove(data / "OLD.txt");
    EXPECT_EQ(HostPath("\\data\\old.txt"), data / "old.txt");
}

TEST(HostPath, NeverLeavesTheDeviceRoot) {
    TempDevice device;
    EXPECT_EQ(HostPath("\\..\\..\\etc\\passwd"), device.Root() / "etc" / "passwd");
    EXPECT_EQ(HostPath("\\a\\..\\..\\b"), device.Root() / "b");
    EXPECT_EQ(HostPath("/etc/passwd"), device.Root() / "etc" / "passwd");
    EXPECT_EQ(HostPath("\\a\\.\\b\\\\c"), device.Root() / "a" / "b" / "c");
}

TEST(DevicePath, ReversesHostPathsInsideTheRootOnly) {
    TempDevice device;
    EXPECT_EQ(DevicePath(device.Root() / "Program Files" / "Zentri"), "\\Program Files\\Zentri");
    EXPECT_EQ(DevicePath(device.Root()), "\\");
    EXPECT_EQ(DevicePath("/definitely/elsewhere"), "");
}

TEST(DevicePathEquals, IgnoresCaseAndSeparatorStyle) {
    EXPECT_TRUE(DevicePathEquals("\\Program Files\\Zentri\\", "\\PROGRAM FILES\\zentri"));
    EXPECT_FALSE(DevicePathEquals("\\Program Files\\Zentri", "\\Program Files"));
    EXPECT_EQ(DeviceFileName("\\Program Files\\Zentri\\cabs\\tool.cab"), "tool.cab");
    EXPECT_EQ(DeviceFileName("tool.cab"), "tool.cab");
}

TEST(Shell, SpecialFoldersAndDeleteTree) {
    TempDevice device;
    EXPECT_EQ(SpecialFolder(2), "\\Windows\\Start Menu\\Programs");
    EXPECT_EQ(SpecialFolder(11), "\\Windows\\Start Menu");
    EXPECT_EQ(SpecialFolder(999), "");

    device.WriteFile("\\Program Files\\Zentri\\cabs\\a\\b.cab", "cab");
    device.WriteFile("\\Program Files\\Zentri\\settings.dat", "keep");
    EXPECT_TRUE(DeleteTree("\\program files\\ZENTRI\\Cabs"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs"));
    EXPECT_TRUE(device.Exists("\\Program Files\\Zentri\\settings.dat"));
    EXPECT_TRUE(DeleteTree("\\Program Files\\Zentri\\cabs"));  // already gone: no error
    EXPECT_FALSE(DeleteTree("\\"));                            // never the whole device
    EXPECT_FALSE(DeleteTree("\\a\\.."));
    EXPECT_TRUE(device.Exists("\\Program Files\\Zentri\\settings.dat"));
}

}  // namespace
}  // namespace platform
