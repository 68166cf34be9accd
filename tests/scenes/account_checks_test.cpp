// What the account scenes refuse before anything is sent.

#include <gtest/gtest.h>

#include "scenes/account_checks.h"
#include "scenes/register_scene.h"

namespace zentri::test {
namespace {

TEST(AccountChecks, MailNeedsADotAfterItsLastAtSign) {
    EXPECT_TRUE(LooksLikeMail(u"a@b.c"));
    EXPECT_TRUE(LooksLikeMail(u"first.last@x@mail.example"));
    EXPECT_FALSE(LooksLikeMail(u"first.last@example"));  // the only dot before the at-sign
    EXPECT_FALSE(LooksLikeMail(u"no-at-sign.example"));
    EXPECT_FALSE(LooksLikeMail(u""));
}

TEST(AccountChecks, RegistrationRefusesInTheirOrder) {
    // A non-ASCII name is refused before anything else, even with fields left empty.
    EXPECT_EQ(RegisterScene::Check(u"J\u00fcrgen", u"", u"", u""), 4009);
    EXPECT_EQ(RegisterScene::Check(u"user", u"m\u00e4il@x.org", u"p", u"p"), 4009);
    EXPECT_EQ(RegisterScene::Check(u"user", u"mail@x.org", u"", u"p"), 1008);
    EXPECT_EQ(RegisterScene::Check(u"user", u"mail@x", u"p", u"q"), 4008);
    EXPECT_EQ(RegisterScene::Check(u"user", u"mail@x.org", u"p", u"q"), 4007);
    EXPECT_EQ(RegisterScene::Check(u"user~", u"mail@x.org", u"p", u"p"), 0);
    EXPECT_FALSE(IsPlainAscii(u"\u007f"));
}

}  // namespace
}  // namespace zentri::test
