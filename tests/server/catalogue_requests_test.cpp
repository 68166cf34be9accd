// Catalogue requests through HTTP: the category tree and tags under the device profile, the
// application list with every filter, sort and page, details and their pictures, reviews,
// ratings, and the packages' sizes.

#include <fstream>
#include <map>
#include <set>

#include "server/result_code.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::test {
namespace {

class CatalogueRequests : public ServiceTest {
  protected:
    void SetUp() override {
        ServiceTest::SetUp();
        session = SignIn();
        ASSERT_EQ(Configure(session, Profile("wm65ppc", 480, 640, "keypad")), kOk);
    }
    std::string S() const { return "sessionid=" + session; }
    std::vector<ClientApp> List(const std::string& parameters = "") {
        return Apps("getapps.php?" + S() + parameters);
    }
    static std::set<int32_t> Ids(const std::vector<ClientApp>& apps) {
        std::set<int32_t> ids;
        for (const auto& a : apps)
            ids.insert(a.id);
        return ids;
    }
    ClientApp Details(int id, ClientDescription* details = nullptr) {
        ClientApp app;
        EXPECT_EQ(checker.AppDetails(Get("appdetails.php?" + S() + "&appid=" + std::to_string(id) +
                                         "&details=" + (details ? "1" : "0"))
                                         .body,
                                     app, details),
                  kOk);
        return app;
    }
    std::vector<ClientReview> ReviewsOf(int id) {
        std::vector<ClientReview> reviews;
        EXPECT_EQ(checker.Reviews(Get("reviews.php?" + S() + "&appid=" + std::to_string(id)).body,
                                  reviews),
                  kOk);
        return reviews;
    }
    std::string session;
};

int32_t Sum(const std::vector<ClientCategory>& nodes) {
    int32_t total = 0;
    for (const auto& c : nodes)
        total += c.count;
    return total;
}

int Depth(const std::vector<ClientCategory>& nodes) {
    int depth = 0;
    for (const auto& c : nodes)
        depth = std::max(depth, 1 + Depth(c.children));
    return depth;
}

// A category counts its own applications and those of its sub-categories, following the profile.
void CheckCounts(const std::vector<ClientCategory>& nodes,
                 const std::function<int32_t(int32_t)>& listed) {
    for (const auto& c : nodes) {
        EXPECT_EQ(c.count, listed(c.id)) << c.name;
        EXPECT_GE(c.count, Sum(c.children)) << c.name;
        CheckCounts(c.children, listed);
    }
}

TEST_F(CatalogueRequests, CategoryCountsFollowTheProfile) {
    std::vector<ClientCategory> tree;
    ASSERT_EQ(checker.Cats(Get("cats.php?" + S()).body, tree), kOk);
    EXPECT_EQ(Depth(tree), 3);
    EXPECT_EQ(Sum(tree), static_cast<int32_t>(List().size()));
    CheckCounts(tree, [&](int32_t id) {
        return static_cast<int32_t>(List("&cat=" + std::to_string(id)).size());
    });

    // A handset with every feature is offered more.
    ASSERT_EQ(Configure(session, Profile("wm65ppc", 480, 640,
                                         "irda bt wifi phone gl cam cam3g accel gps keypad")),
              kOk);
    std::vector<ClientCategory> full;
    ASSERT_EQ(checker.Cats(Get("cats.php?" + S()).body, full), kOk);
    EXPECT_GT(Sum(full), Sum(tree));
    CheckCounts(full, [&](int32_t id) {
        return static_cast<int32_t>(List("&cat=" + std::to_string(id)).size());
    });
}

TEST_F(CatalogueRequests, ProfileFiltersPlatformScreenAndFeatures) {
    std::set<int32_t> ppc = Ids(List());
    for (int32_t id : ppc) {
        auto app = service->Apps().AppById(id);
        ASSERT_TRUE(app);
        EXPECT_TRUE(app->requirements.needs.empty() ||
                    app->requirements.needs == std::vector<std::string>{"keypad"})
            << app->name;
    }
    // Brightleaf Sheets is for Pocket PC only, Marlow Hearts for Smartphone screens only, and
    // Tidewater Path Finder needs GPS.
    auto idOf = [&](const char* sysid) {
        return static_cast<int32_t>(service->Apps().AppBySysid(sysid)->id);
    };
    EXPECT_TRUE(ppc.count(idOf("Brightleaf Sheets")));
    EXPECT_FALSE(ppc.count(idOf("Marlow Hearts")));
    EXPECT_FALSE(ppc.count(idOf("Tidewater Path Finder")));

    ASSERT_EQ(Configure(session, Profile("wm6sp", 240, 320, "keypad gps")), kOk);
    std::set<int32_t> sp = Ids(List());
    EXPECT_FALSE(sp.count(idOf("Brightleaf Sheets")));
    EXPECT_TRUE(sp.count(idOf("Marlow Hearts")));
    EXPECT_TRUE(sp.count(idOf("Tidewater Path Finder")));

    // Without "keypad" the keypad-only games go; an unknown platform code keeps only the
    // applications that do not restrict the platform.
    ASSERT_EQ(Configure(session, Profile("wmppc", 240, 268, "")), kOk);
    for (const ClientApp& a : List()) {
        auto app = service->Apps().AppById(a.id);
        EXPECT_TRUE(app->requirements.platforms.empty() && app->requirements.screens.empty() &&
                    app->requirements.needs.empty())
            << a.name;
    }
    // Details stay available whatever the profile (installed applications ask for them).
    Details(idOf("Tidewater Path Finder"));
}

TEST_F(CatalogueRequests, UnconfiguredSessionsSeeTheWholeCatalogue) {
    std::string fresh = SignIn();
    EXPECT_EQ(Apps("getapps.php?sessionid=" + fresh).size(), 66u);
    EXPECT_LT(List().size(), 66u);
}

TEST_F(CatalogueRequests, TagWeightsCountTheOfferedApplications) {
    std::vector<ClientTag> tags;
    ASSERT_EQ(checker.Tags(Get("tags.php?" + S()).body, tags), kOk);
    ASSERT_GT(tags.size(), 20u);
    for (const ClientTag& tag : tags) {
        EXPECT_GT(tag.weight, 0);
        EXPECT_EQ(tag.weight, static_cast<int32_t>(List("&tags=" + tag.name).size())) << tag.name;
    }
    EXPECT_TRUE(
        std::is_sorted(tags.begin(), tags.end(),
                       [](const ClientTag& a, const ClientTag& b) { return a.name < b.name; }));
}

TEST_F(CatalogueRequests, CategoryListsIncludeSubCategories) {
    std::set<int32_t> games = Ids(List("&cat=1"));
    std::set<int32_t> parts;
    for (int leaf : {111, 112, 121, 122, 131, 132}) {
        auto apps = List("&cat=" + std::to_string(leaf));
        for (const auto& a : apps)
            EXPECT_EQ(a.catid, leaf);
        for (int32_t id : Ids(apps))
            parts.insert(id);
    }
    EXPECT_EQ(games, parts);
    EXPECT_EQ(Apps("getapps.php?" + S() + "&cat=999", kUnknownCategory).size(), 0u);
    EXPECT_EQ(Apps("getapps.php?" + S() + "&cat=games", kInvalidValue).size(), 0u);
}

TEST_F(CatalogueRequests, SearchByEachFieldAndByTags) {
    auto names = [](const std::vector<ClientApp>& apps) {
        std::set<std::string> n;
        for (const auto& a : apps)
            n.insert(a.name);
        return n;
    };
    EXPECT_EQ(names(List("&query=SUDOKU&in=name")), std::set<std::string>{"Sudoku Zen"});
    for (const ClientApp& a : List("&query=orbisoft&in=com"))
        EXPECT_EQ(a.com, "Orbisoft");
    EXPECT_FALSE(List("&query=orbisoft&in=com").empty());
    EXPECT_TRUE(List("&query=orbisoft&in=name").empty());
    // "offline map" is in three descriptions; one of them is of an application that needs GPS.
    EXPECT_EQ(names(List("&query=offline%20map&in=desc")),
              (std::set<std::string>{"City Guide Berlin", "City Guide Prague"}));
    EXPECT_EQ(names(List("&query=offline%20map")), names(List("&query=offline%20map&in=desc")));
    EXPECT_TRUE(List("&query=offline%20map&in=name").empty());
    EXPECT_EQ(names(List("&query=Zip%20Tool")), std::set<std::string>{"Zip Tool"});

    auto both = List("&tags=games,logic");
    EXPECT_FALSE(both.empty());
    auto games = Ids(List("&tags=games")), logic = Ids(List("&tags=logic"));
    for (int32_t id : Ids(both))
        EXPECT_TRUE(games.count(id) && logic.count(id));
    EXPECT_LT(both.size(), games.size());
    EXPECT_TRUE(List("&tags=no-such-tag").empty());
    Apps("getapps.php?" + S() + "&query=x&in=everywhere", kInvalidValue);
}

TEST_F(CatalogueRequests, PriceKinds) {
    auto all = List(), free = List("&price=free"), paid = List("&price=paid");
    EXPECT_EQ(free.size() + paid.size(), all.size());
    std::set<std::string> kinds;
    for (const auto& a : free)
        EXPECT_EQ(a.type, "free");
    for (const auto& a : paid) {
        EXPECT_NE(a.type, "free");
        kinds.insert(a.type);
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"demo", "paid", "trial"}));
    Apps("getapps.php?" + S() + "&price=cheap", kInvalidValue);
}

TEST_F(CatalogueRequests, SortKeysOrderDescending) {
    auto check = [&](const char* key, auto value) {
        auto apps = List(std::string("&sort=") + key);
        ASSERT_EQ(apps.size(), List().size());
        for (size_t i = 1; i < apps.size(); ++i)
            EXPECT_GE(value(apps[i - 1]), value(apps[i])) << key;
    };
    check("rates", [](const ClientApp& a) { return a.rate; });
    check("downloads", [](const ClientApp& a) { return a.downloads; });
    check("views", [](const ClientApp& a) { return a.views; });
    check("createtime", [](const ClientApp& a) { return a.createtime; });
    auto byName = List();
    for (size_t i = 1; i < byName.size(); ++i)
        EXPECT_LE(byName[i - 1].name, byName[i].name);
    Apps("getapps.php?" + S() + "&sort=name", kInvalidValue);
}

TEST_F(CatalogueRequests, PagesCoverTheListOnceInOrder) {
    auto whole = List("&sort=downloads");
    std::vector<int32_t> paged;
    for (int page = 1;; ++page) {
        auto part = List("&count=7&page=" + std::to_string(page) + "&sort=downloads");
        if (part.empty()) break;
        EXPECT_LE(part.size(), 7u);
        for (const auto& a : part)
            paged.push_back(a.id);
    }
    std::vector<int32_t> expected;
    for (const auto& a : whole)
        expected.push_back(a.id);
    EXPECT_EQ(paged, expected);
    EXPECT_EQ(List("&count=25&sort=rates").size(), std::min<size_t>(25, whole.size()));
    EXPECT_TRUE(List("&count=25&page=99").empty());
    for (const char* bad : {"&count=0", "&count=-3", "&page=0", "&count=x", "&page=1.5"})
        Apps("getapps.php?" + S() + bad, kInvalidValue);
}

TEST_F(CatalogueRequests, DetailsCountViewsAndCarryTagsAndPictures) {
    ClientDescription details;
    ClientApp first = Details(2, &details);
    ClientApp second = Details(2, &details);
    EXPECT_EQ(second.views, first.views + 1);
    EXPECT_EQ(Details(2).views, second.views);  // details=0 is no view
    EXPECT_EQ(first.sysid, "Brightleaf Notes");
    EXPECT_EQ(first.name, "Notes");
    EXPECT_EQ(first.install, "brightleaf-notes.cab");
    EXPECT_FALSE(details.desc.empty());
    EXPECT_EQ(details.tags, (std::vector<std::string>{"notes", "offline", "productivity"}));
    ASSERT_EQ(details.pictures.size(), 2u);

    // The pictures and the icon are served where the answer says, a PNG icon with alpha.
    std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
    Reply png = Get(details.pictures[0].substr(base.size()));
    Reply jpeg = Get(details.pictures[1].substr(base.size()));
    Reply icon = Get(first.icon.substr(base.size()));
    EXPECT_EQ(png.body.substr(1, 3), "PNG");
    EXPECT_EQ(jpeg.body.substr(0, 2), "\xFF\xD8");
    ASSERT_GT(icon.body.size(), 26u);
    EXPECT_EQ(icon.body[25], 6) << "colour type RGBA";

    ClientApp bySysid;
    ASSERT_EQ(checker.AppDetails(
                  Get("appdetails.php?" + S() + "&sysid=Brightleaf%20Notes&details=0").body,
                  bySysid, nullptr),
              kOk);
    EXPECT_EQ(bySysid.id, 2);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&sysid=Nobody%20Nothing&details=0"), kUnknownApp);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&appid=9999&details=1"), kUnknownApp);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&appid=two&details=1"), kInvalidValue);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&appid=2&details=2"), kInvalidValue);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&appid=2"), kMissingParameter);
    EXPECT_EQ(CodeOf("appdetails.php?" + S() + "&details=1"), kMissingParameter);
}

TEST_F(CatalogueRequests, RatingsOnePerAccountWithTheirReviews) {
    ClientApp before = Details(14);
    auto seeded = ReviewsOf(14);
    EXPECT_EQ(static_cast<int32_t>(seeded.size()), before.reviews);

    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14&rate=5&text=Great%20fun%2B--br--no%2Fads"),
              kOk);
    ClientApp once = Details(14);
    EXPECT_EQ(once.rates, before.rates + 1);
    EXPECT_NEAR(once.rate, (before.rate * before.rates + 5) / (before.rates + 1), 0.006);
    auto reviews = ReviewsOf(14);
    ASSERT_EQ(reviews.size(), seeded.size() + 1);
    EXPECT_EQ(reviews.front().login, "demo");
    EXPECT_EQ(reviews.front().txt, "Great fun+--br--no/ads");
    EXPECT_EQ(reviews.front().rate, 5);

    // A second rating replaces the first, in the average and in the review.
    clock.Advance(60);
    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14&rate=1&text=Changed%20my%20mind"), kOk);
    ClientApp twice = Details(14);
    EXPECT_EQ(twice.rates, once.rates);
    EXPECT_NEAR(twice.rate, (before.rate * before.rates + 1) / (before.rates + 1), 0.006);
    reviews = ReviewsOf(14);
    ASSERT_EQ(reviews.size(), seeded.size() + 1);
    EXPECT_EQ(reviews.front().txt, "Changed my mind");
    EXPECT_EQ(reviews.front().rate, 1);
    // Without text the review keeps its words and takes the new stars.
    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14&rate=3"), kOk);
    EXPECT_EQ(ReviewsOf(14).front().txt, "Changed my mind");
    EXPECT_EQ(ReviewsOf(14).front().rate, 3);
    EXPECT_EQ(Details(14).reviews, before.reviews + 1);

    // Another account's rating counts separately; a rating without text adds no review.
    ASSERT_EQ(service->AccountStore().Add("other", "secret1", "o@example.org", true), kOk);
    std::string other = SignIn("other", "secret1");
    EXPECT_EQ(CodeOf("rate.php?sessionid=" + other + "&appid=14&rate=4"), kOk);
    EXPECT_EQ(Details(14).rates, before.rates + 2);
    EXPECT_EQ(ReviewsOf(14).size(), seeded.size() + 1);

    for (const char* bad : {"0", "6", "-1", "x", "4.5", ""})
        EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14&rate=" + bad), kBadRating) << bad;
    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14"), kMissingParameter);
    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=9999&rate=3"), kUnknownApp);
    EXPECT_EQ(CodeOf("rate.php?" + S() + "&appid=14&rate=3&text=" + std::string(2001, 'a')),
              kTextTooLong);
    EXPECT_EQ(Details(14).rates, before.rates + 2);
}

TEST_F(CatalogueRequests, DownloadsServeThePackagesWithTheirSizes) {
    std::map<int, std::string> files;  // every application with a package, by id
    for (const ClientApp& a : Apps("getapps.php?sessionid=" + SignIn())) {
        auto app = service->Apps().AppById(a.id);
        if (!app->package.empty()) files[a.id] = app->package;
    }
    EXPECT_EQ(files.size(), 66u);
    for (int id : {1, 2, 14, 40}) {
        ClientApp before = Details(id);
        std::filesystem::path file = AssetsDir() / files.at(id);
        std::string size = std::to_string(std::filesystem::file_size(file));
        Reply sizeOnly = Get("download.php?" + S() + "&appid=" + std::to_string(id) + "&getsize=1");
        Reply cab = Get("download.php?" + S() + "&appid=" + std::to_string(id));
        EXPECT_EQ(sizeOnly.status, 200);
        EXPECT_EQ(sizeOnly.contentLength, size);
        EXPECT_EQ(cab.contentLength, size);
        EXPECT_EQ(std::to_string(cab.body.size()), size);
        EXPECT_EQ(cab.body.substr(0, 4), "MSCF");
        EXPECT_EQ(Details(id).downloads, before.downloads + 1);  // the size question is no download
    }
    // Zentri's own package is the client's, made by the same build.
    EXPECT_EQ(files.at(1), "packages/zentri.cab");
    Reply unknown = Get("download.php?" + S() + "&appid=9999&getsize=1");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(checker.Code(unknown.body), kUnknownApp);
    EXPECT_EQ(checker.Code(Get("download.php?" + S() + "&appid=2&getsize=yes").body),
              kInvalidValue);
    EXPECT_EQ(checker.Code(Get("download.php?" + S()).body), kMissingParameter);
}

// A HEAD asks for the headers only: it gets the download's Content-Length but is neither a
// download nor a view.
TEST_F(CatalogueRequests, HeadRequestsAreNotCounted) {
    ClientApp before = Details(14);
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    std::string id = "&appid=14";
    auto package = client.Head(("/download.php?" + S() + id).c_str());
    auto page = client.Head(("/appdetails.php?" + S() + id + "&details=1").c_str());
    ASSERT_TRUE(package && page);
    EXPECT_EQ(package->status, 200);
    EXPECT_EQ(package->get_header_value("Content-Length"),
              Get("download.php?" + S() + id + "&getsize=1").contentLength);
    EXPECT_EQ(page->status, 200);
    ClientApp after = Details(14);
    EXPECT_EQ(after.downloads, before.downloads);
    EXPECT_EQ(after.views, before.views);
}

}  // namespace
}  // namespace zentri::server::test
