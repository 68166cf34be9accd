// Uninstall: the provisioning document, the judgement by the install key, the update count.

#include <mutex>

#include "manager/app_manager.h"
#include "manager/uninstall_document.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/manager/manager_fixture.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

using test::CatalogueEntry;
using test::ManagerTest;

TEST(UninstallDocument, OneLineWithTabsAndTheNameEscaped) {
    EXPECT_EQ(platform::Utf16ToUtf8(UninstallDocument(u"Acme Tool")),
              "<wap-provisioningdoc>\t\t<characteristic type=\"UnInstall\">\t\t"
              "<characteristic type=\"Acme Tool\">\t\t<parm name=\"uninstall\" value=\"1\" />"
              "\t\t</characteristic>\t\t</characteristic>\t\t</wap-provisioningdoc>");
    // A name cannot end the attribute or add markup.
    EXPECT_EQ(platform::Utf16ToUtf8(UninstallDocument(u"A&B \"Q\" <x>'s")),
              "<wap-provisioningdoc>\t\t<characteristic type=\"UnInstall\">\t\t"
              "<characteristic type=\"A&amp;B &quot;Q&quot; &lt;x&gt;&apos;s\">\t\t"
              "<parm name=\"uninstall\" value=\"1\" />\t\t</characteristic>\t\t"
              "</characteristic>\t\t</wap-provisioningdoc>");
}

// The configuration manager's stand-in: records each document, answers `status`, and removes
// the install key of `removes` (as a successful removal does).
struct FakeConfiguration {
    static int Process(const std::string& document, std::string* result) {
        std::lock_guard<std::mutex> lock(mutex);
        documents.push_back(document);
        if (result) *result = "<wap-provisioningdoc/>";
        if (!removes.empty()) platform::RegKey::DeleteKey("\\Security\\AppInstall\\" + removes);
        return status;
    }
    static void Reset(int answer, const std::string& key) {
        std::lock_guard<std::mutex> lock(mutex);
        documents.clear();
        status = answer;
        removes = key;
    }
    static inline std::mutex mutex;
    static inline std::vector<std::string> documents;
    static inline int status = 0;
    static inline std::string removes;
};

class Uninstall : public ManagerTest {
  protected:
    void SetUp() override {
        ManagerTest::SetUp();
        Manager().SetConfigurationManager(&FakeConfiguration::Process);
        catalogue.Add(CatalogueEntry(1, "Acme Newer", 5));
        catalogue.Add(CatalogueEntry(2, "Acme Equal", 3));
        Register("Acme Newer", 4);
        Register("Acme Equal", 3);
        Manager().Start();
        CheckAndWait();
        ASSERT_EQ(Manager().GetPendingUpdates(), 1);
    }

    // Uninstalls an installed app; its result.
    bool Remove(const std::u16string& sysid, int status, const std::string& removes) {
        FakeConfiguration::Reset(status, removes);
        shared_ptr<App> a = Manager().GetInstalled().at(sysid);
        {
            std::lock_guard<AppLockType> lock(AppLock());
            log.Attach(*a);
            a->Uninstall();
        }
        bool ok = log.WaitEnd(*a, App::Uninstalling);
        test::Settle();
        EXPECT_FALSE(a->IsUninstalling());
        EXPECT_EQ(log.Summary(*a), ok ? "U0 Ut" : "U0 Uf");
        return ok;
    }
};

TEST_F(Uninstall, AnAppWithAPendingUpdateTakesItsCountAlong) {
    EXPECT_TRUE(Remove(u"Acme Newer", 0, "Acme Newer"));
    EXPECT_EQ(Manager().GetPendingUpdates(), 0);
    EXPECT_FALSE(Manager().HasInstalled(u"Acme Newer"));
    EXPECT_EQ(app.rebuilds, std::vector<int>{KestroApp::kRebuildAfterUninstall});
    std::lock_guard<std::mutex> lock(FakeConfiguration::mutex);
    EXPECT_EQ(FakeConfiguration::documents,
              std::vector<std::string>{platform::Utf16ToUtf8(UninstallDocument(u"Acme Newer"))});
}

TEST_F(Uninstall, AnAppWithoutAPendingUpdateLeavesTheCount) {
    EXPECT_TRUE(Remove(u"Acme Equal", 0, "Acme Equal"));
    EXPECT_EQ(Manager().GetPendingUpdates(), 1);
    EXPECT_FALSE(Manager().HasInstalled(u"Acme Equal"));
    EXPECT_TRUE(Manager().HasInstalled(u"Acme Newer"));
}

TEST_F(Uninstall, ARefusalOrASurvivingKeyIsAFailure) {
    // Refused: a failure even though the key went.
    EXPECT_FALSE(Remove(u"Acme Newer", -3, "Acme Newer"));
    EXPECT_TRUE(Manager().HasInstalled(u"Acme Newer"));
    // Accepted, but the key is still there.
    Register("Acme Newer", 4);
    EXPECT_FALSE(Remove(u"Acme Newer", 0, ""));
    EXPECT_TRUE(Manager().HasInstalled(u"Acme Newer"));
    EXPECT_EQ(Manager().GetPendingUpdates(), 1);
    EXPECT_TRUE(app.rebuilds.empty());
}

TEST_F(Uninstall, ANameWithBlanksQuotesAndAmpersandsIsSentEscaped) {
    const std::string name = "Acme \"Q\" & Sons";
    Register(name, 2);
    {
        std::lock_guard<AppLockType> lock(AppLock());
        Manager().AddInstalled(platform::Utf8ToUtf16(name));
        log.Attach(*Manager().GetInstalled().at(platform::Utf8ToUtf16(name)));
    }
    // Its details answer first (a refusal: the "&" splits the query), so that only the
    // removal's calls follow.
    log.WaitEnd(*Manager().GetInstalled().at(platform::Utf8ToUtf16(name)), App::LoadingDetails);
    EXPECT_TRUE(Remove(platform::Utf8ToUtf16(name), 0, name));
    std::lock_guard<std::mutex> lock(FakeConfiguration::mutex);
    ASSERT_EQ(FakeConfiguration::documents.size(), 1u);
    EXPECT_NE(FakeConfiguration::documents[0].find(
                  "<characteristic type=\"Acme &quot;Q&quot; &amp; Sons\">"),
              std::string::npos);
}

}  // namespace
}  // namespace zentri
