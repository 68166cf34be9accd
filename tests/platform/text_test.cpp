#include "platform/text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    std::string text =
        "Zentri \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC \xF0\x9F\x98\x80";
    std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Zentri Привет € \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    // A stray continuation byte, a truncated sequence at the end, an overlong "/" and an
    // encoded surrogate: each becomes U+FFFD and decoding resumes at the next byte.
    EXPECT_EQ(Utf8ToUtf16("a\x80"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("ab\xE2\x82"), u"ab\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    // Lone surrogates on the UTF-16 side.
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Utf, WellFormedIsExactlyWhatRoundTripsUnchanged) {
    const std::string_view texts[] = {"",
                                      "plain",
                                      "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80",
                                      "\xEF\xBF\xBD",
                                      "a\x80",
                                      "ab\xE2\x82",
                                      "\xC0\xAF",
                                      "\xED\xA0\x80",
                                      "\xF4\x90\x80\x80",
                                      std::string_view("a\0b", 3)};
    for (std::string_view text : texts) {
        const bool same = Utf16ToUtf8(Utf8ToUtf16(text)) == text && text.find('\0') == text.npos;
        EXPECT_EQ(IsWellFormedUtf8(text), same) << text;
    }
}

TEST(Numbers, IntegersReadLikeTheHandset) {
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt("  -17"), -17);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("12abc"), 12);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("-"), 0);
    EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseInt(u"203"), 203);
    EXPECT_EQ(ParseInt(u"\u0661\u0662"), 0);  // non-ASCII digits are not digits
}

TEST(Numbers, UnsignedAndFloatingPoint) {
    EXPECT_EQ(ParseUInt("4294967295"), 4294967295u);
    EXPECT_EQ(ParseUInt("4294967296"), 4294967295u);
    EXPECT_EQ(ParseUInt("-3"), 0u);
    EXPECT_EQ(ParseUInt(u"1262304000"), 1262304000u);
    EXPECT_DOUBLE_EQ(ParseDouble("3.5"), 3.5);
    EXPECT_DOUBLE_EQ(ParseDouble(" -1e2"), -100.0);
    EXPECT_DOUBLE_EQ(ParseDouble("4.25stars"), 4.25);
    EXPECT_DOUBLE_EQ(ParseDouble("x"), 0.0);
    EXPECT_DOUBLE_EQ(ParseDouble(u"2,5"), 2.0);  // the decimal separator is always "."
}

TEST(Numbers, Writing) {
    EXPECT_EQ(IntToText(-15), u"-15");
    EXPECT_EQ(IntToText(0), u"0");
    EXPECT_EQ(IntToString(2147483647), "2147483647");
}

TEST(CaseFolding, ComparesNamesAcrossScripts) {
    EXPECT_TRUE(EqualsNoCase("Program Files", "PROGRAM FILES"));
    EXPECT_TRUE(EqualsNoCase("\xC3\x84pfel", "\xC3\xA4PFEL"));                          // Äpfel
    EXPECT_TRUE(EqualsNoCase("\xD0\x9F\xD0\xA0\xD0\x9E", "\xD0\xBF\xD1\x80\xD0\xBE"));  // ПРО / про
    EXPECT_FALSE(EqualsNoCase("abc", "abd"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
}

TEST(Replace, ReplacesEveryOccurrenceOnce) {
    EXPECT_EQ(ReplaceAll(u"a--app--b--app--", u"--app--", u"X"), u"aXbX");
    EXPECT_EQ(ReplaceAll(u"aaa", u"a", u"aa"), u"aaaaaa");
    EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
}

}  // namespace
}  // namespace platform
