// Installed applications, their revisions, executables and the update count.

#include <algorithm>
#include <mutex>

#include "manager/app_manager.h"
#include "manager/cab_file_name.h"
#include "manager/cab_files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/manager/manager_fixture.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

using test::CatalogueEntry;
using test::ManagerTest;

std::vector<std::u16string> Keys(const AppManager::AppMap& map) {
    std::vector<std::u16string> keys;
    for (auto& [key, app] : map)
        keys.push_back(key);
    return keys;
}

class InstalledApps : public ManagerTest {};

TEST_F(InstalledApps, ScanFindsInstallKeysButNotThePlatformsOwn) {
    Register("Acme Soft Tool", 3);
    Register("ExtensionOptions");
    Register("MyTool");
    Register("TSKAllowed");
    Manager().Start();

    const auto& installed = Manager().GetInstalled();
    EXPECT_EQ(Keys(installed), (std::vector<std::u16string>{u"Acme Soft Tool", u"MyTool"}));
    const App& acme = *installed.at(u"Acme Soft Tool");
    EXPECT_EQ(acme.com, u"Acme");
    EXPECT_EQ(acme.name, u"Soft Tool");
    EXPECT_FALSE(acme.catalogueValid);
    EXPECT_TRUE(Manager().HasInstalled(u"MyTool"));
    EXPECT_FALSE(Manager().HasInstalled(u"mytool"));
    EXPECT_TRUE(Manager().GetDownloads().empty());
    EXPECT_TRUE(catalogue.Targets().empty());  // the scan asks the catalogue nothing
    EXPECT_TRUE(device.Exists("\\Program Files\\Zentri\\cabs"));
}

TEST_F(InstalledApps, RevisionsComeFromTheInstallKeyAndTheProgramsOwnKey) {
    Register("Acme Tool", 7);
    Register("Plain Tool");
    Register("Nelvo Zentri", 99);  // not where the program's own revision is kept
    platform::RegKey own;
    ASSERT_EQ(platform::RegKey::Create("\\Software\\Zentri", own), platform::RegResult::Ok);
    own.SetDword("ZentriRevision", 14);
    platform::RegKey odd;
    platform::RegKey::Create("\\Security\\AppInstall\\Odd Tool", odd);
    odd.SetString("ZentriRevision", "9");  // not a number value

    EXPECT_EQ(Manager().GetInstalledRevision(u"Acme Tool"), 7);
    EXPECT_EQ(Manager().GetInstalledRevision(u"acme tool"), 7);  // key names ignore case
    EXPECT_EQ(Manager().GetInstalledRevision(u"Plain Tool"), 0);
    EXPECT_EQ(Manager().GetInstalledRevision(u"Odd Tool"), 0);
    EXPECT_EQ(Manager().GetInstalledRevision(u"Missing Tool"), 0);
    EXPECT_EQ(Manager().GetInstalledRevision(u"Nelvo Zentri"), 14);
    EXPECT_EQ(Manager().GetInstalledRevision(u"nelvo zentri"), 99);  // exact name only
    EXPECT_TRUE(Manager().IsInstalled(u"Plain Tool"));
    EXPECT_FALSE(Manager().IsInstalled(u"Missing Tool"));
    // Names that are not key names never reach another key.
    EXPECT_FALSE(Manager().IsInstalled(u""));
    EXPECT_FALSE(Manager().IsInstalled(u"Acme Tool\\ExecutableFiles"));
    EXPECT_EQ(Manager().GetInstalledRevision(u""), 0);
}

TEST_F(InstalledApps, FindExecutableByHintOrByStartMenuShortcut) {
    Register("Acme Suite", 1,
             {"\\Program Files\\Acme\\setup.exe", "\\Program Files\\Acme\\helper.exe",
              "\\Program Files\\Acme\\Suite.exe", "\\Program Files\\Acme\\viewer.exe"});
    Register("Bare Tool", 1);
    // Shortcuts in the handset's form, one in a sub-folder, one without a folder in its target,
    // one that is not a program, and one whose ".exe" is spelled otherwise.
    device.WriteFile("\\Windows\\Start Menu\\Programs\\Acme\\Viewer.lnk",
                     "35#\"\\Program Files\\Acme\\viewer.exe\"");
    device.WriteFile("\\Windows\\Start Menu\\Programs\\Suite.lnk", "11#Suite.exe -x");
    device.WriteFile("\\Windows\\Start Menu\\Programs\\Readme.lnk", "20#\"\\Docs\\readme.txt\"");
    device.WriteFile("\\Windows\\Start Menu\\Programs\\Setup.lnk",
                     "34#\"\\Program Files\\Acme\\setup.EXE\"");
    Manager().Start();

    // The hint matches exactly (case included), in registry order.
    EXPECT_EQ(Manager().FindExecutable(u"Acme Suite", u"helper.exe"),
              u"\\Program Files\\Acme\\helper.exe");
    EXPECT_EQ(Manager().FindExecutable(u"Acme Suite", u"Helper.exe"), u"");
    EXPECT_EQ(Manager().FindExecutable(u"Acme Suite", u".exe"),
              u"\\Program Files\\Acme\\setup.exe");
    // No hint: the first value (in registry order) that a shortcut names; setup.exe's shortcut
    // does not count (".EXE"), Suite.exe's does, and comes before viewer.exe in the registry.
    EXPECT_EQ(Manager().FindExecutable(u"Acme Suite", u""), u"\\Program Files\\Acme\\Suite.exe");
    EXPECT_EQ(Manager().FindExecutable(u"Bare Tool", u""), u"");
    EXPECT_EQ(Manager().FindExecutable(u"Missing Tool", u"tool.exe"), u"");
}

TEST_F(InstalledApps, AddAndRemoveInstalledKeepEntries) {
    catalogue.Add(CatalogueEntry(5, "Acme Tool", 4));
    Register("Acme Tool", 4);
    Manager().Start();
    shared_ptr<App> first = Manager().GetInstalled().at(u"Acme Tool");
    Manager().AddInstalled(u"Acme Tool");  // an existing entry stays, nothing is asked
    EXPECT_EQ(Manager().GetInstalled().at(u"Acme Tool"), first);

    shared_ptr<App> added;
    {
        std::lock_guard<AppLockType> lock(AppLock());
        Manager().AddInstalled(u"Other Tool");
        added = Manager().GetInstalled().at(u"Other Tool");
        log.Attach(*added);
    }
    EXPECT_FALSE(log.WaitEnd(*added, App::LoadingDetails));  // the catalogue does not know it
    EXPECT_EQ(catalogue.Count("appdetails"), 1);
    Manager().RemoveInstalled(u"Other Tool");
    Manager().RemoveInstalled(u"Never There");
    EXPECT_EQ(Keys(Manager().GetInstalled()), std::vector<std::u16string>{u"Acme Tool"});
}

class Updates : public ManagerTest {
  protected:
    int Pending() {
        std::lock_guard<AppLockType> lock(AppLock());
        return Manager().GetPendingUpdates();
    }
    void SetUp() override {
        ManagerTest::SetUp();
        Manager().UpdatesChanged.Add([this] { ++updatesChanged; });
    }
    void TearDown() override {
        Manager().UpdatesChanged.Clear();
        ManagerTest::TearDown();
    }
    int updatesChanged = 0;
};

TEST_F(Updates, OnlyNewerRevisionsOfAppsTheProgramInstalledCount) {
    catalogue.Add(CatalogueEntry(1, "Acme Newer", 5, "5.0"));
    catalogue.Add(CatalogueEntry(2, "Acme Equal", 3));
    catalogue.Add(CatalogueEntry(3, "Acme Foreign", 9));  // no ZentriRevision
    catalogue.Add(CatalogueEntry(4, "Acme Older", 2));
    Register("Acme Newer", 4);
    Register("Acme Equal", 3);
    Register("Acme Foreign");
    Register("Acme Older", 6);
    Register("Acme Unknown", 1);  // the catalogue answers 112
    Manager().Start();

    CheckAndWait();
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(updatesChanged, 1);
    EXPECT_EQ(catalogue.Count("appdetails"), 5);
    const auto& installed = Manager().GetInstalled();
    EXPECT_EQ(installed.at(u"Acme Newer")->revision, 5);
    EXPECT_EQ(installed.at(u"Acme Newer")->version, u"5.0");
    EXPECT_TRUE(installed.at(u"Acme Newer")->catalogueValid);
    EXPECT_FALSE(installed.at(u"Acme Unknown")->catalogueValid);
    EXPECT_EQ(installed.at(u"Acme Unknown")->revision, 0);
    EXPECT_EQ(log.Summary(*installed.at(u"Acme Unknown")), "L0 Lf");
    EXPECT_TRUE(app.popups.empty());  // no application of the program itself

    // A second check in the same run asks nothing and counts nothing again.
    CheckAndWait();
    EXPECT_EQ(catalogue.Count("appdetails"), 5);
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(updatesChanged, 1);
    // The request names the app by its key name, without the description.
    auto targets = catalogue.Targets();
    EXPECT_NE(std::find(targets.begin(), targets.end(),
                        "/appdetails.php?sessionid=5e55&sysid=Acme%20Equal&details=0"),
              targets.end());
}

TEST_F(Updates, SelfUpdateQuestionIsAskedOncePerRun) {
    catalogue.Add(CatalogueEntry(1, "Nelvo Zentri", 20, "2.1"));
    catalogue.Add(CatalogueEntry(2, "Nelvo Zentri Themes", 8, "1.1"));
    catalogue.Add(CatalogueEntry(3, "Acme Zentri Sync", 2, "3"));
    Register("Nelvo Zentri");  // its revision is the one under \Software\Zentri
    platform::RegKey own;
    platform::RegKey::Create("\\Software\\Zentri", own);
    own.SetDword("ZentriRevision", 12);
    Register("Nelvo Zentri Themes", 7);
    Register("Acme Zentri Sync", 2);  // up to date: never asked about
    Manager().Start();

    CheckAndWait();
    EXPECT_EQ(Pending(), 2);
    ASSERT_EQ(app.popups.size(), 1u);  // both newer ones match, one question
    const auto& popup = app.popups[0];
    EXPECT_EQ(popup.caption, u"Question");
    EXPECT_EQ(popup.left, u"Yes");
    EXPECT_EQ(popup.right, u"No");
    // Whichever answer came first is asked about; its version replaces the first mark only.
    EXPECT_TRUE(popup.text == u"Zentri 2.1 is out (not --ver--)." ||
                popup.text == u"Zentri 1.1 is out (not --ver--).")
        << platform::Utf16ToUtf8(popup.text);

    // The right key does nothing.
    {
        std::lock_guard<AppLockType> lock(AppLock());
        app.AnswerPopup(PopupBox::RightKey);
    }
    EXPECT_EQ(app.myAppsOpened, 0);
    EXPECT_EQ(Pending(), 2);
    EXPECT_EQ(catalogue.Count("download"), 0);

    // A new start of the manager is a new run: asked again; the left key updates the app asked
    // about and opens my apps.
    Manager().Start();
    CheckAndWait();
    ASSERT_EQ(app.popups.size(), 2u);
    bool program = app.popups[1].text.find(u"2.1") != std::u16string::npos;
    shared_ptr<App> asked =
        Manager().GetInstalled().at(program ? u"Nelvo Zentri" : u"Nelvo Zentri Themes");
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*asked);
        app.AnswerPopup(PopupBox::LeftKey);
        EXPECT_TRUE(asked->downloadRequest);
    }
    EXPECT_EQ(app.myAppsOpened, 1);
    EXPECT_EQ(Pending(), 1);
    EXPECT_FALSE(log.WaitEnd(*asked, App::Downloading));  // the stand-in has no package: 404
    EXPECT_EQ(catalogue.Count("download"), 1);
    EXPECT_EQ(catalogue.Targets().back(),
              std::string("/download.php?sessionid=5e55&appid=") + (program ? "1" : "2"));
}

TEST_F(Updates, SelfUpdateQuestionWaitsUntilTheBoxIsFree) {
    StageTestInstaller();
    MakeFifos();
    CatalogueEntry zentri(1, "Nelvo Zentri", 20, "2.1", "zentri.cab");
    zentri.cab = FakeCab("Nelvo Zentri", true);
    catalogue.Add(zentri);
    Register("Nelvo Zentri");
    platform::RegKey own;
    platform::RegKey::Create("\\Software\\Zentri", own);
    own.SetDword("ZentriRevision", 12);
    Manager().Start();
    // Another box of the program on screen, and its answer.
    auto occupy = [&] {
        std::lock_guard<AppLockType> lock(AppLock());
        ASSERT_TRUE(app.popupBox.Show(u"Info", u"Busy.", u"OK", u""));
    };
    auto release = [&] {
        std::lock_guard<AppLockType> lock(AppLock());
        app.popupBox.Close(true);
    };

    occupy();  // another box is on screen when the answer arrives
    CheckAndWait();
    EXPECT_EQ(Pending(), 1);
    EXPECT_TRUE(app.popups.empty());
    Manager().OnPopupClosed();  // a box closed, and the next one took the screen
    EXPECT_TRUE(app.popups.empty());
    release();
    Manager().OnPopupClosed();
    ASSERT_EQ(app.popups.size(), 1u);
    EXPECT_EQ(app.popups[0].text, u"Zentri 2.1 is out (not --ver--).");
    {
        std::lock_guard<AppLockType> lock(AppLock());
        app.AnswerPopup(PopupBox::RightKey);
    }
    Manager().OnPopupClosed();
    EXPECT_EQ(app.popups.size(), 1u);  // once per run

    // A new run: the update is started from the lists while the box is taken, which makes the
    // question moot.
    Manager().Start();
    occupy();
    CheckAndWait();
    shared_ptr<App> self = Manager().GetInstalled().at(u"Nelvo Zentri");
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*self);
        Manager().Update(self);
    }
    ASSERT_TRUE(WaitStarted());
    release();
    Manager().OnPopupClosed();
    Go();
    EXPECT_TRUE(log.WaitEnd(*self, App::Installing));
    test::Settle();
    Manager().OnPopupClosed();
    EXPECT_EQ(app.popups.size(), 1u);
}

TEST_F(Updates, TheCountFollowsTheAppsWhateverTheOrderOfEvents) {
    // One: its update starts before the details answer, which arrives while it is installed.
    // Two: its update is installed before its details answer arrives.
    // Three: its update starts before the details answer and fails: still to do.
    StageTestInstaller();
    MakeFifos();
    CatalogueEntry one(1, "Acme One", 6, "6", "one.cab"), two(2, "Acme Two", 6, "6", "two.cab"),
        three(3, "Acme Three", 6);  // no package: its downloads fail
    one.cab = FakeCab("Acme One", true);
    two.cab = FakeCab("Acme Two");
    for (const CatalogueEntry* e : {&one, &two, &three}) {
        catalogue.Add(*e);
        Register(e->sysid, 4);
    }
    Manager().Start();
    auto update = [&](shared_ptr<App> a) {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*a);
        Manager().Update(a);
        return a;
    };
    shared_ptr<App> second = update(CatalogueApp(two));
    EXPECT_TRUE(log.WaitEnd(*second, App::Installing));
    shared_ptr<App> third = update(CatalogueApp(three));
    EXPECT_FALSE(log.WaitEnd(*third, App::Downloading));
    shared_ptr<App> first = update(CatalogueApp(one));
    ASSERT_TRUE(WaitStarted());
    CheckAndWait();
    EXPECT_EQ(Pending(), 1);  // Three only
    Go();
    EXPECT_TRUE(log.WaitEnd(*first, App::Installing));
    test::Settle();
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(updatesChanged, 1);
    EXPECT_EQ(RegistryRevision("Acme One"), 6);

    // Three once more: not counted while it runs, counted again when it has failed.
    shared_ptr<App> again = update(Manager().GetInstalled().at(u"Acme Three"));
    EXPECT_EQ(Pending(), 0);
    EXPECT_FALSE(log.WaitEnd(*again, App::Downloading));
    test::Settle();
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(updatesChanged, 3);
}

TEST(CabFiles, EachDownloadHasANameOfItsOwnUntilItsInstallEnds) {
    CabFiles files;
    const std::u16string cabs = u"\\cabs";
    EXPECT_EQ(files.Reserve(cabs, u"tool.cab", {u"A", false}), u"\\cabs\\tool.cab");
    EXPECT_EQ(files.Reserve(cabs, u"TOOL.CAB", {u"B", true}), u"\\cabs\\TOOL (2).CAB");
    EXPECT_EQ(files.Reserve(cabs, u"tool.cab.part", {u"C", false}), u"\\cabs\\tool.cab (2).part");
    EXPECT_EQ(files.Reserve(cabs, u"readme", {u"D", false}), u"\\cabs\\readme");
    EXPECT_EQ(files.Reserve(cabs, u"readme", {u"D", false}), u"\\cabs\\readme (2)");
    EXPECT_TRUE(files.UpdateUnderWay(u"B"));
    EXPECT_FALSE(files.UpdateUnderWay(u"A"));

    std::optional<CabFiles::Use> use = files.Release(u"\\cabs\\tool (2).cab");
    ASSERT_TRUE(use);
    EXPECT_EQ(use->sysid, u"B");
    EXPECT_FALSE(files.UpdateUnderWay(u"B"));
    EXPECT_FALSE(files.Release(u"\\cabs\\TOOL (2).CAB"));
    // The first still holds its name; the one given back is taken again.
    EXPECT_EQ(files.Reserve(cabs, u"tool.cab", {u"E", false}), u"\\cabs\\tool (2).cab");
}

TEST(CabFileNames, PlainNamesOnlyElseTheSysid) {
    EXPECT_EQ(CabFileName(u"tool.cab", u"Acme Tool"), u"tool.cab");
    EXPECT_EQ(CabFileName(u"Acme Tool 1.2.cab", u"Acme Tool"), u"Acme Tool 1.2.cab");
    for (const char16_t* install :
         {u"", u"/files/tool.cab", u"..\\..\\Windows\\wceload.exe", u"..", u"a..b.cab",
          u"C:tool.cab", u"x\"y.cab", u"tab\t.cab", u"\\Windows\\tool.cab"})
        EXPECT_EQ(CabFileName(install, u"Acme Tool"), u"Acme Tool.cab")
            << platform::Utf16ToUtf8(install);
    EXPECT_EQ(CabFileName(u"", u"..\\..\\Windows/x:y"), u"______Windows_x_y.cab");
    EXPECT_EQ(CabFileName(u"", u"a...b"), u"a__.b.cab");
}

}  // namespace
}  // namespace zentri
