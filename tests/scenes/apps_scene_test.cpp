// The application list: what it asks the server, how the top list and the other lists treat
// price and sort changes, what a row shows, and that rows are filled only when drawn.

#include "scenes/apps_scene.h"

#include "app/catalogue.h"
#include "platform/registry.h"
#include "scenes/add_app_row.h"
#include "scenes/apps_scene_choose_sort.h"
#include "tests/scenes/catalogue_scene_fixture.h"
#include "ui/image_pool.h"
#include "widgets/app_list_item_layout.h"
#include "widgets/layout_parts.h"

namespace zentri::test {
namespace {

using Part = AppListItemLayout::PartId;

// The list without the network: the addresses it would fetch are kept.
class OfflineAppsScene : public AppsScene {
  public:
    using AppsScene::AppsScene;
    std::vector<std::u16string> sent;

  protected:
    shared_ptr<HttpRequest> SendGetApps(const std::u16string& url) override {
        sent.push_back(url);
        return nullptr;
    }
};

struct Entry {
    const char* name;
    const char* type;
    double rate;
    int rates, downloads;
};

std::string Answer(const std::vector<Entry>& apps, int code = 0) {
    std::string xml = "<kestro-api><result code=\"" + std::to_string(code) + "\"/><getapps>";
    int id = 1;
    for (const Entry& a : apps)
        xml += "<app id=\"" + std::to_string(id++) + "\" name=\"" + a.name +
               "\" com=\"Acme\" icon=\"\" type=\"" + a.type + "\" catid=\"3\" rate=\"" +
               std::to_string(a.rate) + "\" rates=\"" + std::to_string(a.rates) +
               "\" reviews=\"0\" views=\"0\" downloads=\"" + std::to_string(a.downloads) +
               "\" version=\"1\" revision=\"2\" sysid=\"Acme " + a.name +
               "\" exe=\"\" install=\"x.cab\" createtime=\"0\"/>";
    return xml + "</getapps></kestro-api>";
}

const std::vector<Entry> kFive = {{"Echo", "free", 4.5, 10, 50},
                                  {"Alpha", "trial", 2, 3, 500},
                                  {"Delta", "paid", 3, 4, 5},
                                  {"Bravo", "demo", 5, 1, 70},
                                  {"Charlie", "free", 1, 2, 90}};

class AppsSceneTest : public CatalogueSceneTest {
  protected:
    OfflineAppsScene* Open(bool top, const Category* category = nullptr) {
        return Push(top ? new OfflineAppsScene(u"Top apps", u"Main menu", nullptr, u"", u"", u"",
                                               25, -1, true)
                        : new OfflineAppsScene(u"Office", u"Productivity", category, u"", u"", u"",
                                               -1, -1, false));
    }
    void Answer(OfflineAppsScene* list, const std::vector<Entry>& apps, int code = 0) {
        const std::string body = test::Answer(apps, code);
        list->TakeAnswer(reinterpret_cast<const uint8_t*>(body.data()),
                         static_cast<int32_t>(body.size()));
        Settle();
    }
    static std::u16string Shown(const AppsScene* list) {
        std::u16string names;
        for (const auto& a : list->ShownApps())
            names += (names.empty() ? u"" : u",") + a->name;
        return names;
    }
    static std::u16string Query(const std::u16string& url) {
        return url.substr(url.find(u"getapps.php?") + 12);
    }
    bool FilterBarShown(Scene* list) {
        GObjectPtr bar;
        return list->Page()->FindChild(Scene::kSubHeaderId, bar) && bar->IsVisible();
    }
};

TEST_F(AppsSceneTest, TopListAsksTheServerForEveryChange) {
    auto* list = Open(true);
    ASSERT_EQ(list->sent.size(), 1u);
    EXPECT_EQ(Query(list->sent[0]), u"sessionid=s1&count=25&sort=createtime");
    EXPECT_FALSE(FilterBarShown(list));
    Answer(list, kFive);
    EXPECT_EQ(Shown(list), u"Echo,Alpha,Delta,Bravo,Charlie");  // as the server sorted them
    EXPECT_TRUE(FilterBarShown(list));
    EXPECT_EQ(Content(list)->ChildCount(), 5u);

    list->ChangePrice(u"paid");
    list->ChangeSort(u"downloads");
    ASSERT_EQ(list->sent.size(), 3u);
    EXPECT_EQ(Query(list->sent[2]), u"sessionid=s1&count=25&price=paid&sort=downloads");
    EXPECT_EQ(Content(list)->ChildCount(), 0u);  // until the answer
    EXPECT_EQ(Kestro::Instance().GetPriceFilter(), u"paid");
    EXPECT_EQ(Kestro::Instance().GetSortOrder(), u"downloads");

    // The sort choice offers no "by name" in the top list.
    auto* sort = Push(new AppsSceneChooseSort(list));
    EXPECT_EQ(Content(sort)->ChildCount(), 4u);
}

TEST_F(AppsSceneTest, OtherListsFilterAndSortOnTheDevice) {
    Kestro::Instance().SetSortOrder(u"");  // by name, last chosen in another list
    Category office;
    office.id = 21;
    auto* list = Open(false, &office);
    // The sort key sent is "rates" when none is kept; the rows follow the kept one.
    EXPECT_EQ(Query(list->sent.at(0)), u"sessionid=s1&cat=21&sort=rates");
    Answer(list, kFive);
    EXPECT_EQ(Shown(list), u"Alpha,Bravo,Charlie,Delta,Echo");

    list->ChangePrice(u"paid");  // trial and demo are not free
    EXPECT_EQ(Shown(list), u"Alpha,Bravo,Delta");
    list->ChangeSort(u"downloads");
    EXPECT_EQ(Shown(list), u"Alpha,Bravo,Delta");
    list->ChangePrice(u"free");
    EXPECT_EQ(Shown(list), u"Charlie,Echo");
    list->ChangeSort(u"rates");
    EXPECT_EQ(Shown(list), u"Echo,Charlie");
    list->ChangePrice(u"");
    EXPECT_EQ(Shown(list), u"Bravo,Echo,Delta,Alpha,Charlie");
    EXPECT_EQ(list->sent.size(), 1u);  // nothing asked again
    EXPECT_EQ(Content(list)->ChildCount(), 5u);

    // The sort already shown changes nothing: the rows stay the same nodes.
    GObjectPtr first = Content(list)->ChildAt(0);
    list->ChangeSort(u"rates");
    EXPECT_EQ(Content(list)->ChildAt(0), first);
}

TEST_F(AppsSceneTest, AListOpenedWithAPriceFilterFetchesTheRestWhenItWidens) {
    Kestro::Instance().SetPriceFilter(u"free");
    auto* list = Open(false);
    EXPECT_EQ(Query(list->sent.at(0)), u"sessionid=s1&price=free&sort=createtime");
    Answer(list, {{"Echo", "free", 4.5, 10, 50}, {"Charlie", "free", 1, 2, 90}});
    list->ChangePrice(u"");
    ASSERT_EQ(list->sent.size(), 2u);
    EXPECT_EQ(Query(list->sent[1]), u"sessionid=s1&sort=createtime");
    Answer(list, kFive);
    EXPECT_EQ(list->ShownApps().size(), 5u);
    list->ChangePrice(u"free");  // now on the device
    EXPECT_EQ(list->sent.size(), 2u);
    EXPECT_EQ(list->ShownApps().size(), 2u);
}

TEST_F(AppsSceneTest, ARefusedAnswerLeavesTheListEmptyWithItsMessage) {
    auto* list = Open(false);
    Answer(list, kFive, 113);
    EXPECT_EQ(Content(list)->ChildCount(), 0u);
    EXPECT_FALSE(FilterBarShown(list));
    ASSERT_EQ(app.popups.size(), 1u);
    EXPECT_EQ(app.popups[0], Str(113));
    EXPECT_TRUE(list->NeedsRebuild(KestroApp::kRebuildAfterReview));
}

TEST_F(AppsSceneTest, OnlyDrawnRowsAreFilled) {
    std::vector<Entry> many(200, Entry{"Same", "free", 3, 1, 0});
    auto* list = Open(false);
    Answer(list, many);
    GObjectPtr rows = Content(list);
    ASSERT_EQ(rows->ChildCount(), 200u);
    size_t filled = 0;
    for (size_t i = 0; i < rows->ChildCount(); ++i)
        filled += rows->ChildAt(i)->ChildCount() > 0;
    EXPECT_GE(filled, 2u);
    EXPECT_LE(filled, 4u);  // what fits under the filter bar
    EXPECT_EQ(TextOf(rows->ChildAt(0), Part::kTitle), u"Same");
}

class AppRowTest : public CatalogueSceneTest {
  protected:
    GObjectPtr Row(const shared_ptr<zentri::App>& app, bool compact = false) {
        GObjectPtr item = MakeShared<GObject>();
        item->SetSize(kWidth, 150);
        AddAppRow(item, app, compact);
        return item;
    }
    static shared_ptr<zentri::App> Listed(double rate, int32_t rates, const char16_t* type) {
        shared_ptr<zentri::App> app(new zentri::App);
        app->name = u"Soft Tool";
        app->com = u"Acme";
        app->sysid = u"Acme Soft Tool";
        app->rate = rate;
        app->rates = rates;
        app->type = type;
        app->revision = 3;
        return app;
    }
    static int HalfStarsShown(const GObjectPtr& row) {
        GObjectPtr stars;
        if (!row->FindChild(Part::kSmall, stars)) return -1;
        int half = 0;
        for (size_t i = 0; i < stars->ChildCount(); ++i) {
            auto* star = dynamic_cast<TImage<GObject>*>(stars->ChildAt(i).get());
            half += star->Image() == ImagePool::Instance().Get(u"rate_star.png", 1)       ? 2
                    : star->Image() == ImagePool::Instance().Get(u"rate_halfstar.png", 1) ? 1
                                                                                          : 0;
        }
        return half;
    }
};

TEST_F(AppRowTest, VotesStarsPriceAndArrow) {
    EXPECT_EQ(HalfStars(3.75), 8);
    EXPECT_EQ(HalfStars(3.7), 7);
    EXPECT_EQ(HalfStars(0.25), 1);

    GObjectPtr rated = Row(Listed(3.75, 12, u"trial"));
    EXPECT_EQ(TextOf(rated, Part::kTitle), u"Soft Tool");
    EXPECT_EQ(TextOf(rated, Part::kSecondLine), u"Acme");
    EXPECT_EQ(TextOf(rated, Part::kBesideSmall), u"(12)");
    EXPECT_EQ(HalfStarsShown(rated), 8);
    EXPECT_EQ(TextOf(rated, Part::kRightValue), Str(12009));
    EXPECT_TRUE(HasPart(rated.get(), Part::kArrow));
    EXPECT_FALSE(HasPart(rated.get(), Part::kBottomRight));  // not installed

    auto unrated = Listed(0, 0, u"paid");
    unrated->catalogueValid = false;
    GObjectPtr plain = Row(unrated);
    EXPECT_EQ(TextOf(plain, Part::kBesideSmall), Str(7000));
    EXPECT_FALSE(HasPart(plain.get(), Part::kSmall));  // no stars without votes
    EXPECT_EQ(TextOf(plain, Part::kRightValue), u"");
    EXPECT_FALSE(HasPart(plain.get(), Part::kArrow));

    GObjectPtr compact = Row(Listed(3.75, 12, u"free"), true);
    EXPECT_TRUE(HasPart(compact.get(), Part::kBottomRow));
    EXPECT_FALSE(HasPart(compact.get(), Part::kSmall));
    EXPECT_FALSE(HasPart(compact.get(), Part::kBesideSmall));
}

TEST_F(AppRowTest, InstalledApplicationsShowTheirState) {
    {
        platform::RegKey key;
        ASSERT_EQ(platform::RegKey::Create("\\Security\\AppInstall\\Acme Soft Tool", key),
                  platform::RegResult::Ok);
        ASSERT_EQ(key.SetDword("ZentriRevision", 4), platform::RegResult::Ok);
    }
    AppManager::Instance().Shutdown();
    AppManager::Instance().Start();
    auto older = Listed(2, 1, u"free");  // the catalogue's revision 3 is older than the device's
    EXPECT_EQ(TextOf(Row(older), Part::kBottomRight), Str(7001));
    older->revision = 4;
    EXPECT_EQ(TextOf(Row(older), Part::kBottomRight), Str(7002));
}

}  // namespace
}  // namespace zentri::test
