// The target file of a download lies in the device and stays there: a link at its folder or
// at its name, or a hard link to a host file, never sends the body out of the device.

#include "net/body_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_device.h"

namespace zentri::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BodyFile, NeverWritesThroughALinkOutOfTheDevice) {
    TempDevice device;
    fs::path outside = device.Root().parent_path() / (device.Root().filename().string() + "-out");
    fs::create_directories(outside);
    std::ofstream(outside / "victim") << "host file";
    fs::path cabs = device.Root() / "cabs";

    fs::create_directory_symlink(outside, cabs);
    BodyFile file;
    EXPECT_FALSE(file.Open(cabs / "x.cab"));
    EXPECT_FALSE(fs::exists(outside / "x.cab"));

    fs::remove(cabs);
    fs::create_directory(cabs);
    fs::create_symlink(outside / "victim", cabs / "a.cab");
    fs::create_hard_link(outside / "victim", cabs / "b.cab");
    for (const char* name : {"a.cab", "b.cab"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(file.Open(cabs / name));
        EXPECT_TRUE(file.Write("body", 4));
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(Read(cabs / name), "body");
        EXPECT_FALSE(fs::is_symlink(cabs / name));
        EXPECT_EQ(Read(outside / "victim"), "host file");
    }
    EXPECT_FALSE(file.Open(device.Root() / ".." / "escape.cab"));
    EXPECT_FALSE(fs::exists(device.Root().parent_path() / "escape.cab"));

    // A failed download removes its own file only: not what has taken its name since.
    ASSERT_TRUE(file.Open(cabs / "c.cab"));
    fs::rename(cabs / "a.cab", cabs / "c.cab");
    file.Discard();
    EXPECT_EQ(Read(cabs / "c.cab"), "body");
    ASSERT_TRUE(file.Open(cabs / "d.cab"));
    file.Discard();
    EXPECT_FALSE(fs::exists(cabs / "d.cab"));
    fs::remove_all(outside);
}

}  // namespace
}  // namespace zentri::test
