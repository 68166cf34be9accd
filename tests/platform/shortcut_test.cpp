// Shortcut files in the handset's text form.

#include "platform/shortcut.h"

#include <gtest/gtest.h>

#include "tests/support/temp_device.h"

namespace platform {
namespace {

using zentri::test::TempDevice;

std::string Target(std::string_view text) {
    auto s = ParseShortcut(text);
    return s ? s->target : "<none>";
}

TEST(Shortcut, ParsesTheHandsetsForms) {
    EXPECT_EQ(Target("23#\"\\Windows\\calc.exe\""), "\\Windows\\calc.exe");
    EXPECT_EQ(Target("17#\\Windows\\calc.exe"), "\\Windows\\calc.exe");  // unquoted
    EXPECT_EQ(Target("41#\"\\Program Files\\A b\\tool.exe\"\r\n"),
              "\\Program Files\\A b\\tool.exe");
    EXPECT_EQ(Target("\xEF\xBB\xBF"
                     "23#\"\\Windows\\calc.exe\""),
              "\\Windows\\calc.exe");
    EXPECT_EQ(Target("99#\"\\short.exe\""), "\\short.exe");  // a wrong length is ignored
    EXPECT_EQ(Target("5#\"\\Windows\\unterminated.exe"), "\\Windows\\unterminated.exe");
    EXPECT_EQ(Target("5#  \\spaced.exe  "), "\\spaced.exe");

    auto withArgs = ParseShortcut("30#\"\\Windows\\tool.exe\"  -a \"b c\"\nignored");
    ASSERT_TRUE(withArgs);
    EXPECT_EQ(withArgs->target, "\\Windows\\tool.exe");
    EXPECT_EQ(withArgs->arguments, "-a \"b c\"");

    for (const char* bad : {"", "#\"\\a.exe\"", "x3#\"\\a.exe\"", "12\"\\a.exe\"", "2#\"\"",
                            "3#   ", "12#\r\n\"\\a.exe\"", "12"})
        EXPECT_EQ(Target(bad), "<none>") << bad;
}

TEST(Shortcut, LengthCountsCharactersNotBytes) {
    EXPECT_EQ(FormatShortcut("\\Windows\\calc.exe"), "19#\"\\Windows\\calc.exe\"");
    EXPECT_EQ(FormatShortcut("\\\xC3\x84rger.exe"), "12#\"\\\xC3\x84rger.exe\"");  // Ä is one
    EXPECT_EQ(FormatShortcut("\\\xF0\x9F\x98\x80.exe", "-x"), "12#\"\\\xF0\x9F\x98\x80.exe\" -x");
}

TEST(Shortcut, FilesOnTheDevice) {
    TempDevice device;
    ASSERT_TRUE(WriteShortcut("\\Windows\\Start Menu\\Programs\\Tool.lnk",
                              "\\Program Files\\Tool\\tool.exe", "-fast"));
    EXPECT_EQ(device.ReadFile("\\Windows\\Start Menu\\Programs\\Tool.lnk"),
              "36#\"\\Program Files\\Tool\\tool.exe\" -fast");
    auto read = ReadShortcut("\\windows\\start menu\\programs\\tool.LNK");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->target, "\\Program Files\\Tool\\tool.exe");
    EXPECT_EQ(read->arguments, "-fast");

    EXPECT_FALSE(ReadShortcut("\\Windows\\missing.lnk"));
    EXPECT_FALSE(ReadShortcut("\\Windows"));  // a folder
    device.WriteFile("\\big.lnk", "12#\"\\a.exe\"" + std::string(5000, ' '));
    EXPECT_FALSE(ReadShortcut("\\big.lnk"));
    EXPECT_FALSE(WriteShortcut("\\empty.lnk", ""));
    EXPECT_FALSE(device.Exists("\\empty.lnk"));
}

}  // namespace
}  // namespace platform
