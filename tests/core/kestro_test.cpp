#include "app/kestro.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>

#include "manager/app.h"
#include "manager/install_request.h"
#include "manager/uninstall_request.h"
#include "net/http_request.h"
#include "net/inet_manager.h"
#include "tests/core/session_support.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

class KestroTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::LoadLocalization(device);
        test::ResetSession();
    }
    void TearDown() override { test::ResetSession(); }

    test::TempDevice device;
    test::ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
};

TEST_F(KestroTest, StartsWithTheDetectedProfileAndTheDefaults) {
    Kestro& k = Kestro::Instance();
    EXPECT_EQ(k.GetSortOrder(), u"createtime");
    EXPECT_EQ(k.GetPriceFilter(), u"");
    EXPECT_TRUE(k.configNeeded);
    EXPECT_FALSE(k.detectedProfile.osver.empty());
    EXPECT_TRUE(k.detectedProfile.keypad);
    EXPECT_FALSE(k.detectedProfile.cam3g);

    k.profile.w = 1;
    k.profile.gps = !k.detectedProfile.gps;
    k.ResetProfile();
    EXPECT_EQ(k.profile, k.detectedProfile);
}

TEST_F(KestroTest, TheRootIsRenamedOnEveryCallWhileSubCategoriesKeepTheirNames) {
    Kestro& k = Kestro::Instance();
    Category& root = k.GetRootCategory();
    EXPECT_EQ(root.name, u"Categories");
    auto games = MakeShared<Category>();
    games->name = u"Games";
    games->parent = &root;
    root.children.push_back(games);

    ASSERT_TRUE(Localization::Instance().SetLanguage(u"de"));
    EXPECT_EQ(k.GetRootCategory().name, u"Kategorien");
    EXPECT_EQ(&k.GetRootCategory(), &root);
    EXPECT_EQ(root.children[0]->name, u"Games");

    k.tagList.push_back({u"chess", 3});
    k.ClearCatalogue();
    EXPECT_TRUE(k.GetRootCategory().children.empty());
    EXPECT_TRUE(k.tagList.empty());
    EXPECT_EQ(games->RefCount(), 1);  // only this test still holds it
}

TEST_F(KestroTest, CredentialsCompareExactly) {
    Kestro& k = Kestro::Instance();
    EXPECT_TRUE(k.CredentialsUnchanged());  // both pairs empty
    k.savedLogin = k.login = u"Joe";
    k.savedPassword = k.password = u"pw";
    EXPECT_TRUE(k.CredentialsUnchanged());
    k.login = u"joe";
    EXPECT_FALSE(k.CredentialsUnchanged());
    k.login = u"Joe";
    k.password = u"pw ";
    EXPECT_FALSE(k.CredentialsUnchanged());
}

// Waits for the end of a request (the completion runs under appLock on the transfer thread).
bool Ended(const std::function<shared_ptr<HttpRequest>()>& start, bool& result) {
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> ended = done->get_future();
    {
        std::lock_guard<AppLockType> app(AppLock());
        start()->Completion().Add([done](HttpRequest*, bool ok) { done->set_value(ok); });
    }
    if (ended.wait_for(std::chrono::seconds(60)) != std::future_status::ready) return false;
    result = ended.get();
    return true;
}

TEST_F(KestroTest, CatsAndConfigCarryTheSessionAndConfigEmptiesTheCatalogueEvenWhenItFails) {
    // Nothing listens on port 1 of the loopback: every transfer fails.
    test::LoadLocalization(device, "http://127.0.0.1:1/");
    Kestro& k = Kestro::Instance();
    k.profile = DeviceProfile{u"wm6sp", 240,   320,   true,  true, false, false,
                              false,    false, false, false, true, true};
    k.GetRootCategory().children.push_back(MakeShared<Category>());
    k.tagList.push_back({u"chess", 3});

    bool ok = true;
    std::u16string url;
    ASSERT_TRUE(Ended(
        [&] {
            shared_ptr<HttpRequest> r = k.BuildConfigRequest();
            url = r->Url();
            return r;
        },
        ok));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(k.GetRootCategory().children.empty());
    EXPECT_TRUE(k.tagList.empty());
    EXPECT_EQ(url,
              u"http://127.0.0.1:1/config.php?sessionid=&locale=en&osver=wm6sp&w=240&h=320&"
              u"irda=1&bt=0&wifi=0&phone=1&gl=0&cam=0&cam3g=0&accel=0&gps=1&keypad=1");

    k.SetSessionId(u"s 1");
    ASSERT_TRUE(Ended(
        [&] {
            shared_ptr<HttpRequest> r = k.BuildCatsRequest();
            url = r->Url();
            return r;
        },
        ok));
    EXPECT_EQ(url, u"http://127.0.0.1:1/cats.php?sessionid=s%201");
    InetManager::Instance().Shutdown();
}

TEST(AppRecord, FromAKeyName) {
    App tool(u"MyTool");
    EXPECT_EQ(tool.name, u"MyTool");
    EXPECT_EQ(tool.com, u"");
    EXPECT_EQ(tool.sysid, u"MyTool");
    EXPECT_FALSE(tool.catalogueValid);
    App acme(u"Acme Soft Tool");
    EXPECT_EQ(acme.com, u"Acme");
    EXPECT_EQ(acme.name, u"Soft Tool");
    EXPECT_EQ(acme.sysid, u"Acme Soft Tool");
    App edge(u" lead");
    EXPECT_EQ(edge.com, u"");
    EXPECT_EQ(edge.name, u"lead");

    App fresh;
    EXPECT_TRUE(fresh.catalogueValid);
    EXPECT_EQ(fresh.id, 0);
    EXPECT_EQ(fresh.rate, 0.0);
    EXPECT_EQ(fresh.createtime, 0u);
}

TEST(AppRecord, ActivitiesLastWhileTheirJobIsActive) {
    App app;
    EXPECT_FALSE(app.IsInstalling());
    EXPECT_FALSE(app.IsUninstalling());
    EXPECT_FALSE(app.IsDownloading());
    app.installRequest = MakeShared<InstallRequest>();
    app.uninstallRequest = MakeShared<UninstallRequest>();
    EXPECT_TRUE(app.IsInstalling());
    EXPECT_TRUE(app.IsUninstalling());
    app.installRequest->active = false;
    app.uninstallRequest->active = false;
    EXPECT_FALSE(app.IsInstalling());  // the job is kept, but it has ended
    EXPECT_FALSE(app.IsUninstalling());
}

}  // namespace
}  // namespace zentri
