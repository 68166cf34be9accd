// The device's own price filter and sort of an application list.

#include "scenes/app_list_order.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace zentri {
namespace {

shared_ptr<App> Make(std::u16string name, std::u16string type, double rate = 0,
                     int32_t downloads = 0, int32_t views = 0, uint32_t createtime = 0) {
    shared_ptr<App> app(new App);
    app->name = std::move(name);
    app->type = std::move(type);
    app->rate = rate;
    app->downloads = downloads;
    app->views = views;
    app->createtime = createtime;
    return app;
}

std::u16string Names(const AppList& apps) {
    std::u16string names;
    for (const auto& a : apps)
        names += (names.empty() ? u"" : u",") + a->name;
    return names;
}

TEST(AppListOrder, PriceFilterKeepsServerOrder) {
    const AppList all = {Make(u"a", u"free"), Make(u"b", u"trial"), Make(u"c", u"paid"),
                         Make(u"d", u"demo"), Make(u"e", u"free"),  Make(u"f", u"")};
    EXPECT_EQ(Names(FilterByPrice(all, u"free")), u"a,e");
    // Anything not free counts as paid: trial, demo and an unknown kind too.
    EXPECT_EQ(Names(FilterByPrice(all, u"paid")), u"b,c,d,f");
    EXPECT_EQ(Names(FilterByPrice(all, u"")), u"a,b,c,d,e,f");
    EXPECT_EQ(Names(FilterByPrice(all, u"bogus")), u"a,b,c,d,e,f");
}

TEST(AppListOrder, EachKeyHighestFirstAndNamesByCodeUnit) {
    AppList apps = {
        Make(u"beta", u"free", 3.5, 10, 7, 300), Make(u"Zulu", u"free", 4.75, 5, 9, 100),
        Make(u"alpha", u"free", 3.5, 20, 1, 200), Make(u"\u00c4rger", u"free", 1, 0, 3, 400)};
    SortApps(apps, u"rates");
    EXPECT_EQ(Names(apps), u"Zulu,beta,alpha,\u00c4rger");  // equal ratings keep their order
    SortApps(apps, u"downloads");
    EXPECT_EQ(Names(apps), u"alpha,beta,Zulu,\u00c4rger");
    SortApps(apps, u"views");
    EXPECT_EQ(Names(apps), u"Zulu,beta,\u00c4rger,alpha");
    SortApps(apps, u"createtime");
    EXPECT_EQ(Names(apps), u"\u00c4rger,beta,alpha,Zulu");
    // Upper case before lower case, non-ASCII last: the order of the code units.
    for (const char16_t* key : {u"", u"name", u"unknown"}) {
        SortApps(apps, key);
        EXPECT_EQ(Names(apps), u"Zulu,alpha,beta,\u00c4rger") << platform::Utf16ToUtf8(key);
    }
}

}  // namespace
}  // namespace zentri
