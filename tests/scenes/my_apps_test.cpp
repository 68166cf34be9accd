// My apps against application management on a fresh device: the rows' sections and control
// bars, and rows that follow their application's StatusChanged (details arriving, a removal
// that runs and fails).

#include "scenes/my_apps_scene.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "manager/app_manager.h"
#include "net/inet_manager.h"
#include "platform/registry.h"
#include "scenes/app_actions.h"
#include "scenes/control_bar_layout.h"
#include "tests/scenes/pages_support.h"
#include "ui/app_lock.h"
#include "ui/platform/windows_mobile_ui_server.h"
#include "widgets/image.h"
#include "widgets/label.h"

namespace zentri::test {
namespace {

constexpr auto kGuard = std::chrono::seconds(60);  // a failure guard, never a pace

// The removal's configuration manager: waits until the test lets it answer, then refuses.
std::mutex gateMutex;
std::condition_variable gateChanged;
bool gateOpen = false;
int BlockedRemoval(const std::string&, std::string*) {
    std::unique_lock<std::mutex> lock(gateMutex);
    gateChanged.wait_for(lock, kGuard, [] { return gateOpen; });
    return -2;
}

class MyApps : public ::testing::Test {
  protected:
    void SetUp() override {
        {
            std::lock_guard<std::mutex> lock(gateMutex);
            gateOpen = false;
        }
        LoadProgramTexts(device);
        Kestro::Instance().SetSessionId(u"s1");
        app.Server().Resize(480, 640);
        app.BuildShell();
    }
    void TearDown() override {
        {
            std::lock_guard<std::mutex> lock(gateMutex);
            gateOpen = true;
        }
        gateChanged.notify_all();
        AppManager::Instance().Shutdown();
        AppManager::Instance().SetConfigurationManager(nullptr);
        InetManager::Instance().Shutdown();
    }
    // An installed application's record as the CAB installer leaves it.
    static void Install(const std::string& sysid, const std::string& exe, uint32_t revision) {
        platform::RegKey key;
        ASSERT_EQ(platform::RegKey::Create("\\Security\\AppInstall\\" + sysid, key),
                  platform::RegResult::Ok);
        if (revision) key.SetDword("ZentriRevision", revision);
        if (exe.empty()) return;
        platform::RegKey exes;
        platform::RegKey::Create("\\Security\\AppInstall\\" + sysid + "\\ExecutableFiles", exes);
        exes.SetDword(exe, 0);
    }
    shared_ptr<MyAppsScene> Open() {
        AppManager::Instance().Start();
        shared_ptr<MyAppsScene> scene(new MyAppsScene);
        app.PushScene(scene);
        return scene;
    }
    // The texts of the content's rows: a section title, or the application's name.
    static std::vector<std::u16string> Rows(const MyAppsScene& scene) {
        std::vector<std::u16string> rows;
        const GObjectPtr& content = scene.Content();
        for (size_t i = 0; i < content->ChildCount(); ++i) {
            GObjectPtr name;
            const GObjectPtr& row = content->ChildAt(i);
            if (row->FindChild(21, name)) {
                rows.push_back(std::u16string(name->AutomationText()));
                continue;
            }
            // A section title: the label inside the band.
            for (size_t k = 0; k < row->ChildCount(); ++k)
                if (!row->ChildAt(k)->AutomationText().empty())
                    rows.push_back(u"[" + std::u16string(row->ChildAt(k)->AutomationText()) + u"]");
        }
        return rows;
    }
    static std::u16string Title(int id) { return u"[" + Text(id) + u"]"; }
    static GObjectPtr Row(const MyAppsScene& scene, const std::u16string& name) {
        const GObjectPtr& content = scene.Content();
        for (size_t i = 0; i < content->ChildCount(); ++i) {
            GObjectPtr label;
            if (content->ChildAt(i)->FindChild(21, label) && label->AutomationText() == name)
                return content->ChildAt(i);
        }
        return nullptr;
    }
    // Which parts of the row's control bar are shown: u(pdate) r(un) x (uninstall) p(rogress).
    static std::string Bar(const GObjectPtr& row) {
        GObjectPtr bar, part;
        if (!row || !row->FindChild(MyAppsScene::kControlBarId, bar)) return "?";
        std::string shown;
        for (auto [id, letter] : {std::pair{ControlBarLayout::kUpdate, 'u'},
                                  {ControlBarLayout::kRun, 'r'},
                                  {ControlBarLayout::kUninstall, 'x'},
                                  {ControlBarLayout::kProgress, 'p'}})
            if (bar->FindChild(id, part) && part->IsVisible()) shown += letter;
        return shown;
    }
    static std::u16string ProgressText(const GObjectPtr& row) {
        GObjectPtr bar, progress;
        row->FindChild(MyAppsScene::kControlBarId, bar);
        bar->FindChild(ControlBarLayout::kProgress, progress);
        return std::u16string(progress->AutomationText());
    }
    static shared_ptr<App> Installed(const std::u16string& sysid) {
        return AppManager::Instance().GetInstalled().at(sysid);
    }

    TempDevice device;
    RecordingApp app;
};

TEST_F(MyApps, NothingKnownShowsNoRowsAndNoSections) {
    shared_ptr<MyAppsScene> scene = Open();
    EXPECT_EQ(scene->Content()->ChildCount(), 0u);
}

TEST_F(MyApps, RowsMoveToTheCatalogueSectionWhenTheirDetailsArrive) {
    Install("Brightleaf Notes", "\\Program Files\\Notes\\notes.exe", 4);
    Install("Acme Tool", "", 0);
    shared_ptr<MyAppsScene> scene = Open();
    // Known only from the registry: both outside the catalogue, in key order, without update.
    EXPECT_EQ(Rows(*scene), (std::vector<std::u16string>{Title(11012), u"Tool", u"Notes"}));
    EXPECT_EQ(Bar(Row(*scene, u"Tool")), "x");
    // No executable hint yet and no Start-menu shortcut that names one: nothing to run.
    EXPECT_EQ(Bar(Row(*scene, u"Notes")), "x");
    EXPECT_FALSE(Row(*scene, u"Notes")->HasTouchList());

    shared_ptr<App> notes = Installed(u"Brightleaf Notes");
    {
        std::lock_guard<AppLockType> lock(AppLock());
        notes->id = 2;
        notes->revision = 5;
        notes->exe = u"notes.exe";
        notes->install = u"notes.cab";
        notes->catalogueValid = true;
        notes->StatusChanged(notes.get(), App::LoadingDetails, true, 1.0, true);
    }
    EXPECT_EQ(Rows(*scene),
              (std::vector<std::u16string>{Title(11011), u"Notes", Title(11012), u"Tool"}));
    GObjectPtr row = Row(*scene, u"Notes");
    EXPECT_EQ(Bar(row), "urx");
    EXPECT_EQ(row->Tag(), kSectionCatalogue);
    EXPECT_TRUE(row->HasTouchList());  // opens the application's page
}

TEST_F(MyApps, ARemovalShowsItsProgressAndAFailureGivesTheButtonsBack) {
    Install("Acme Tool", "\\Program Files\\Tool\\tool.exe", 3);
    AppManager::Instance().SetConfigurationManager(&BlockedRemoval);
    shared_ptr<MyAppsScene> scene = Open();
    shared_ptr<App> tool = Installed(u"Acme Tool");

    std::mutex endMutex;
    std::condition_variable ended;
    bool done = false;
    {
        std::lock_guard<AppLockType> lock(AppLock());
        tool->StatusChanged.Add([&](App*, App::AppStatusType type, bool finished, double, bool) {
            if (type != App::Uninstalling || !finished) return;
            std::lock_guard<std::mutex> l(endMutex);
            done = true;
            ended.notify_all();
        });
        tool->Uninstall();
        GObjectPtr row = Row(*scene, u"Tool");
        EXPECT_EQ(Rows(*scene), (std::vector<std::u16string>{Title(11010), u"Tool"}));
        EXPECT_EQ(Bar(row), "p");
        EXPECT_EQ(ProgressText(row), Text(11004));
    }
    {
        std::lock_guard<std::mutex> lock(gateMutex);
        gateOpen = true;
    }
    gateChanged.notify_all();
    {
        std::unique_lock<std::mutex> lock(endMutex);
        ASSERT_TRUE(ended.wait_for(lock, kGuard, [&] { return done; }));
    }
    std::lock_guard<AppLockType> lock(AppLock());  // the worker's report is over
    EXPECT_EQ(Rows(*scene), (std::vector<std::u16string>{Title(11012), u"Tool"}));
    EXPECT_EQ(Bar(Row(*scene, u"Tool")), "x");
    ASSERT_EQ(app.popups.size(), 1u);
    EXPECT_EQ(app.popups[0], Text(11008));
}

TEST_F(MyApps, RowsThatAreGoneNoLongerFollowTheirApplication) {
    Install("Acme Tool", "", 0);
    AppManager::Instance().Start();
    app.PushScene(shared_ptr<Scene>(new Scene));
    shared_ptr<App> tool = Installed(u"Acme Tool");
    const size_t before = tool->StatusChanged.Count();
    shared_ptr<MyAppsScene> scene(new MyAppsScene);
    app.PushScene(scene);
    EXPECT_EQ(tool->StatusChanged.Count(), before + 1);
    scene->Rebuild();  // new rows; the old ones let go
    EXPECT_EQ(tool->StatusChanged.Count(), before + 1);
    app.PopImmediately();
    scene = nullptr;
    app.Timer(WindowsMobileUIServer::kTimerId);  // releases the popped scene
    EXPECT_EQ(tool->StatusChanged.Count(), before);
}

}  // namespace
}  // namespace zentri::test
