// The category of generated applications: what it holds, how a later start with another number
// refills or removes it, and that its applications list, sort and filter like the seed's.

#include <set>

#include "server/bulk_category.h"
#include "server/command_line.h"
#include "tests/server/service_fixture.h"

namespace zentri::server::test {
namespace {

class BulkCategory : public ::testing::Test {
  protected:
    std::unique_ptr<CatalogueService> Start(std::optional<int64_t> bulk) {
        ServiceOptions options;
        options.dataDir = data.Path();
        options.assetsDir = AssetsDir();
        options.hashCost = HashCost::Minimal;
        options.bulkCategoryApps = bulk;
        return std::make_unique<CatalogueService>(options);
    }
    static std::vector<AppRecord> Listed(CatalogueService& service, std::string sort = "") {
        AppFilter filter;
        filter.category = kBulkCategoryId;
        filter.sort = std::move(sort);
        return service.Apps().Apps(filter, nullptr);
    }
    static const CategoryNode* Bulk(CatalogueService& service) {
        static std::vector<CategoryNode> tree;
        tree = service.Apps().Categories(nullptr);
        return !tree.empty() && tree.back().id == kBulkCategoryId ? &tree.back() : nullptr;
    }
    TempFolder data;
};

TEST_F(BulkCategory, HoldsVariedApplicationsWithServedIcons) {
    auto service = Start(300);
    const CategoryNode* bulk = Bulk(*service);
    ASSERT_TRUE(bulk);
    EXPECT_EQ(bulk->name, kBulkCategoryName);
    EXPECT_EQ(bulk->count, 300);

    std::vector<AppRecord> apps = Listed(*service);
    ASSERT_EQ(apps.size(), 300u);
    std::set<std::string> names, sysids, types;
    int unrated = 0;
    for (const AppRecord& a : apps) {
        names.insert(a.name);
        sysids.insert(a.sysid);
        types.insert(a.type);
        unrated += a.rates == 0;
        EXPECT_GE(a.Rate(), 0.0);
        EXPECT_LE(a.Rate(), 5.0);
        EXPECT_FALSE(service->Asset(a.icon).empty()) << a.icon;  // a seed icon, served
        EXPECT_TRUE(a.package.empty());
    }
    EXPECT_EQ(names.size(), 300u);
    EXPECT_EQ(sysids.size(), 300u);
    EXPECT_EQ(types, (std::set<std::string>{"free", "paid", "trial", "demo"}));
    EXPECT_GT(unrated, 0);
    EXPECT_LT(unrated, 150);

    // The newest comes first and the last-numbered application is the oldest.
    std::vector<AppRecord> byAge = Listed(*service, "createtime");
    EXPECT_EQ(byAge.front().id, kBulkFirstAppId + 1);
    EXPECT_EQ(byAge.back().id, kBulkFirstAppId + 300);
    // The seed's applications are where they were.
    AppFilter all;
    EXPECT_EQ(service->Apps().Apps(all, nullptr).size(), 66u + 300u);
}

TEST_F(BulkCategory, LaterStartsRefillKeepOrRemoveIt) {
    std::string firstName;
    {
        auto service = Start(50);
        firstName = service->Apps().AppById(kBulkFirstAppId + 1)->name;
        // A rating of a generated application must not stop the category being refilled.
        service->Apps().Rate(1, "demo", kBulkFirstAppId + 7, 4, "nice");
    }
    {
        auto service = Start(20);
        EXPECT_EQ(Listed(*service).size(), 20u);
        EXPECT_EQ(service->Apps().AppById(kBulkFirstAppId + 1)->name, firstName);  // made alike
        EXPECT_TRUE(service->Apps().Reviews(kBulkFirstAppId + 7).empty());
    }
    {
        auto service = Start(std::nullopt);  // kept as it is
        EXPECT_EQ(Listed(*service).size(), 20u);
    }
    {
        auto service = Start(0);
        EXPECT_FALSE(Bulk(*service));
        EXPECT_FALSE(service->Apps().HasCategory(kBulkCategoryId));
        AppFilter all;
        EXPECT_EQ(service->Apps().Apps(all, nullptr).size(), 66u);
    }
}

TEST(BulkCategoryOption, CommandLine) {
    Command command;
    EXPECT_EQ(ParseCommandLine({"serve", "--port", "0", "--data", "d", "--bulk-category", "10000"},
                               command),
              "");
    EXPECT_EQ(command.bulkCategory, 10000);
    for (const char* bad : {"-1", "x", "200001"}) {
        Command other;
        EXPECT_NE(ParseCommandLine({"serve", "--port", "0", "--data", "d", "--bulk-category", bad},
                                   other),
                  "")
            << bad;
    }
    Command plain;
    ParseCommandLine({"serve", "--port", "0", "--data", "d"}, plain);
    EXPECT_EQ(plain.bulkCategory, -1);
}

}  // namespace
}  // namespace zentri::server::test
