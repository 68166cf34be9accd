// The query string as the client writes it.

#include "server/query.h"

#include <gtest/gtest.h>

namespace zentri::server {
namespace {

TEST(Query, OnlyTheClientsThreeEscapesAreDecoded) {
    EXPECT_EQ(DecodeClientValue("a%2Bb%2bc%2Fd%2fe%20f"), "a+b+c/d/e f");
    EXPECT_EQ(DecodeClientValue("a+b"), "a+b");
    EXPECT_EQ(DecodeClientValue("%41%25%3D%2"), "%41%25%3D%2");
    EXPECT_EQ(DecodeClientValue("%252B"), "%252B");
    EXPECT_EQ(DecodeClientValue("%"), "%");
}

TEST(Query, SplitsAtAmpersandsAndTheFirstEquals) {
    Query q = Query::FromTarget("/auth.php?login=a=b&&pass=x%2By&flag&pass=second#frag&x=1");
    EXPECT_EQ(q.Get("login"), "a=b");
    EXPECT_EQ(q.Get("pass"), "x+y");  // the first of repeated keys
    EXPECT_EQ(q.Get("flag"), "");
    EXPECT_FALSE(q.Has("x"));
    EXPECT_FALSE(q.Has("frag"));
    EXPECT_TRUE(Query::FromTarget("/cats.php").Items().empty());
}

TEST(Query, NumbersAndFlagsAreWholeTexts) {
    EXPECT_EQ(ReadInteger("-42"), -42);
    EXPECT_EQ(ReadInteger("007"), 7);
    for (const char* bad : {"", "+1", "1.0", " 1", "1 ", "0x10", "99999999999999999999"})
        EXPECT_FALSE(ReadInteger(bad)) << bad;
    EXPECT_EQ(ReadFlag("1"), true);
    EXPECT_EQ(ReadFlag("0"), false);
    EXPECT_FALSE(ReadFlag("true"));
    EXPECT_EQ(SplitCommaList(" a, b ,,c "), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace zentri::server
