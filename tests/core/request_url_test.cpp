#include "net/request_url.h"

#include <gtest/gtest.h>

#include "manager/device_profile.h"
#include "net/api_requests.h"
#include "tests/core/session_support.h"

namespace zentri {
namespace {

using namespace api;

class RequestUrlTest : public ::testing::Test {
  protected:
    void SetUp() override { test::LoadLocalization(device); }

    test::TempDevice device;
    test::ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
};

TEST_F(RequestUrlTest, WritesTheFourValueKinds) {
    std::u16string url = RequestUrl(u"x")
                             .Add(u"t", u"a+b/c")
                             .Add(u"e", u"a+b/c", true)
                             .AddInt(u"i", -2147483647 - 1)
                             .AddFlag(u"on", true)
                             .AddFlag(u"off", false)
                             .AddLiteral(u"details", u"1")
                             .Finish();
    EXPECT_EQ(url,
              u"http://api.example.test/x.php?t=a+b/c&e=a%2Bb%2Fc&i=-2147483648&on=1&off=0&"
              u"details=1");
}

TEST_F(RequestUrlTest, FinishEncodesSpacesOnly) {
    EXPECT_EQ(RequestUrl(u"x").Add(u"q", u"a b&c=d?e#f%g\u00fc+", true).Finish(),
              u"http://api.example.test/x.php?q=a%20b&c=d?e#f%g\u00fc%2B");
    // Text encoding leaves characters outside ASCII alone and spaces to Finish.
    EXPECT_EQ(EncodeText(u"\u0416 + /\U0001F600"), u"\u0416 %2B %2F\U0001F600");
}

TEST_F(RequestUrlTest, AccountRequests) {
    EXPECT_EQ(AuthUrl(u"jo+e", u"p+a/ss"),
              u"http://api.example.test/auth.php?login=jo+e&pass=p%2Ba%2Fss");
    EXPECT_EQ(ActmailResendUrl(u"joe"), u"http://api.example.test/actmail_resend.php?login=joe");
    EXPECT_EQ(RegUrl(u"joe", u"a/b", u"j+e@x.org"),
              u"http://api.example.test/reg.php?login=joe&pass=a%2Fb&mail=j+e@x.org");
}

TEST_F(RequestUrlTest, AuthRestoreSendsAMailOnlyWithAnAtBeforeTheLastDot) {
    const std::u16string base = u"http://api.example.test/auth_restore.php?";
    EXPECT_EQ(AuthRestoreUrl(u"joe@example.org"), base + u"mail=joe@example.org");
    EXPECT_EQ(AuthRestoreUrl(u"j.oe@example.org"), base + u"mail=j.oe@example.org");
    EXPECT_EQ(AuthRestoreUrl(u"joe.smith@localhost"), base + u"login=joe.smith@localhost");
    EXPECT_EQ(AuthRestoreUrl(u"joe"), base + u"login=joe");
    EXPECT_EQ(AuthRestoreUrl(u"joe@host"), base + u"login=joe@host");
    EXPECT_EQ(AuthRestoreUrl(u""), base + u"login=");
}

TEST_F(RequestUrlTest, ConfigSendsTheProfileWithTheFlagsInTheirRequestOrder) {
    // Only phone and keypad set: their places show the order differs from the record's.
    DeviceProfile p{u"wm65ppc", 480,   640,   true,  false, false, false,
                    false,      false, false, false, false, true};
    EXPECT_EQ(ConfigUrl(u"S1", u"de", p),
              u"http://api.example.test/config.php?sessionid=S1&locale=de&osver=wm65ppc&w=480&"
              u"h=640&irda=0&bt=0&wifi=0&phone=1&gl=0&cam=0&cam3g=0&accel=0&gps=0&keypad=1");
    DeviceProfile q{u"wm", -1, 0, false, true, true, true, true, true, true, true, true, false};
    EXPECT_EQ(ConfigUrl(u"", u"", q),
              u"http://api.example.test/config.php?sessionid=&locale=&osver=wm&w=-1&h=0&irda=1&"
              u"bt=1&wifi=1&phone=0&gl=1&cam=1&cam3g=1&accel=1&gps=1&keypad=0");
}

TEST_F(RequestUrlTest, CatalogueRequests) {
    EXPECT_EQ(CatsUrl(u""), u"http://api.example.test/cats.php?sessionid=");
    EXPECT_EQ(TagsUrl(u"abc"), u"http://api.example.test/tags.php?sessionid=abc");
    EXPECT_EQ(AppDetailsBySysidUrl(u"S", u"Acme Soft Tool"),
              u"http://api.example.test/appdetails.php?sessionid=S&sysid=Acme%20Soft%20Tool&"
              u"details=0");
    EXPECT_EQ(AppDetailsUrl(u"S", 42),
              u"http://api.example.test/appdetails.php?sessionid=S&appid=42&details=1");
    EXPECT_EQ(ReviewsUrl(u"S", 7), u"http://api.example.test/reviews.php?sessionid=S&appid=7");
    EXPECT_EQ(DownloadUrl(u"S", 7), u"http://api.example.test/download.php?sessionid=S&appid=7");
    EXPECT_EQ(DownloadSizeUrl(u"S", 7),
              u"http://api.example.test/download.php?sessionid=S&appid=7&getsize=1");
}

TEST_F(RequestUrlTest, GetAppsSendsOnlyTheFiltersThatAreSet) {
    GetAppsOptions byCategory;
    byCategory.cat = 12;
    EXPECT_EQ(GetAppsUrl(u"S", byCategory),
              u"http://api.example.test/getapps.php?sessionid=S&cat=12");
    EXPECT_EQ(GetAppsUrl(u"S", {}), u"http://api.example.test/getapps.php?sessionid=S");

    GetAppsOptions all{0, u"c++ / tools x", u"desc", u"a+b,c/d", 20, 0, u"free", u"views"};
    EXPECT_EQ(GetAppsUrl(u"S", all),
              u"http://api.example.test/getapps.php?sessionid=S&cat=0&query=c%2B%2B%20%2F%20"
              u"tools%20x&in=desc&tags=a%2Bb,c%2Fd&count=20&page=0&price=free&sort=views");
}

TEST_F(RequestUrlTest, RateSendsATextOnlyWhenThereIsOne) {
    EXPECT_EQ(RateUrl(u"S", 3, 5, u""),
              u"http://api.example.test/rate.php?sessionid=S&appid=3&rate=5");
    EXPECT_EQ(
        RateUrl(u"S", 3, 1, u"bad/ugly +1"),
        u"http://api.example.test/rate.php?sessionid=S&appid=3&rate=1&text=bad%2Fugly%20%2B1");
}

TEST_F(RequestUrlTest, AMissingBaseAddressStillFormsAnAddress) {
    device.WriteFile(test::kLocalizationPath,
                     "<localization><languages><default name='en'/></languages><strings/>"
                     "</localization>");
    Localization::Instance().Load(platform::Utf8ToUtf16(test::kLocalizationPath));
    EXPECT_EQ(CatsUrl(u"S"), u"STR_99999cats.php?sessionid=S");
}

}  // namespace
}  // namespace zentri
