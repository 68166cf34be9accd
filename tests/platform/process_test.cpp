#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/paths.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using zentri::test::TempDevice;
using Args = std::vector<std::string>;

TEST(CommandLine, SplitsByTheHandsetsRules) {
    EXPECT_EQ(SplitCommandLine("/delete 0 \"\\Program Files\\Zentri\\cabs\\my tool.cab\""),
              (Args{"/delete", "0", "\\Program Files\\Zentri\\cabs\\my tool.cab"}));
    EXPECT_EQ(SplitCommandLine("  a\t b  "), (Args{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("\"\""), (Args{""}));
    EXPECT_EQ(SplitCommandLine("a\\\\\"b c\""), (Args{"a\\b c"}));  // 2 backslashes + quote
    EXPECT_EQ(SplitCommandLine("a\\\"b"), (Args{"a\"b"}));          // 1 backslash + quote
    EXPECT_EQ(SplitCommandLine("\"unterminated arg"), (Args{"unterminated arg"}));
    EXPECT_EQ(SplitCommandLine(""), Args{});
}

TEST(Process, StartsADeviceProgramWithItsArgumentsAndWaits) {
    TempDevice device;
    device.WriteFile("\\Windows\\echoargs.exe",
                     "#!/bin/sh\nprintf '%s|' \"$@\" > \"$ZENTRI_DEVICE_ROOT/args.txt\"\nexit 3\n");
    chmod(HostPath("\\Windows\\echoargs.exe").c_str(), 0755);

    auto process = Process::Start("\\WINDOWS\\EchoArgs.exe", "/delete 0 \"\\a b\\c.cab\"");
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->Wait(), 3);
    EXPECT_EQ(process->Wait(), 3);  // waiting again answers the same
    EXPECT_EQ(device.ReadFile("\\args.txt"), "/delete|0|\\a b\\c.cab|");
}

TEST(Process, MissingOrNonExecutableProgramsDoNotStart) {
    TempDevice device;
    EXPECT_FALSE(Process::Start("\\Windows\\wceload.exe", "").has_value());
    device.WriteFile("\\Windows\\plain.exe", "not a program");
    EXPECT_FALSE(Process::Start("\\Windows\\plain.exe", "").has_value());
    EXPECT_FALSE(Process::StartHost({}).has_value());
    auto killed = Process::StartHost({"sh", "-c", "kill -9 $$"});
    ASSERT_TRUE(killed.has_value());
    EXPECT_EQ(killed->Wait(), -1);
}

}  // namespace
}  // namespace platform
