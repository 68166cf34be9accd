// Download and install through installer stand-ins: what reaches the installer, what is left on
// the device, what the application hears, and in which order the jobs run.

#include <filesystem>
#include <mutex>
#include <thread>

#include "manager/app_manager.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "tests/manager/manager_fixture.h"
#include "ui/app_lock.h"
#include "ui/pending_work.h"

namespace zentri {
namespace {

namespace fs = std::filesystem;
using test::CatalogueEntry;
using test::ManagerTest;

constexpr const char* kCabs = "\\Program Files\\Zentri\\cabs\\";

class Install : public ManagerTest {
  protected:
    void SetUp() override {
        ManagerTest::SetUp();
        StageTestInstaller();
    }

    // A CAB already in the cabs folder, installed through App::Install.
    shared_ptr<App> InstallCab(const CatalogueEntry& e, const std::string& file,
                               const std::string& content) {
        device.WriteFile(kCabs + file, content);
        shared_ptr<App> a = CatalogueApp(e);
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*a);
        a->Install(platform::Utf8ToUtf16(kCabs + file));
        return a;
    }

    std::vector<std::string> DebugLines() {
        std::lock_guard<std::mutex> lock(debugMutex);
        return debugLines;
    }
};

TEST_F(Install, FirstInstallIsDownloadedInstalledAndRecorded) {
    CatalogueEntry e(7, "Acme Tool", 5, "1.0", "tool.cab");
    e.cab = FakeCab("Acme Tool");
    catalogue.Add(e);
    shared_ptr<App> tool = CatalogueApp(e);
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*tool);
        Manager().DownloadNew(tool);
        EXPECT_TRUE(AnyWorkPending());
        EXPECT_EQ(Manager().GetDownloads().at(u"Acme Tool"), tool);
        EXPECT_FALSE(Manager().HasInstalled(u"Acme Tool"));
    }
    EXPECT_TRUE(log.WaitEnd(*tool, App::Installing));
    test::Settle();

    EXPECT_EQ(log.Summary(*tool), "D0 Dp Dt I0 It");
    EXPECT_EQ(InstallerLog(),
              (std::vector<std::string>{
                  "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\tool.cab] own=",
                  "end",
              }));
    EXPECT_EQ(RegistryRevision("Acme Tool"), 5);
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\tool.cab"));
    EXPECT_EQ(DebugLines(), std::vector<std::string>{
                                "delete cab from \\Program Files\\Zentri\\cabs\\tool.cab\n"});
    std::lock_guard<AppLockType> lock(AppLock());
    EXPECT_TRUE(Manager().GetDownloads().empty());
    ASSERT_TRUE(Manager().HasInstalled(u"Acme Tool"));
    EXPECT_NE(Manager().GetInstalled().at(u"Acme Tool"), tool);  // a record of its own
    EXPECT_EQ(app.rebuilds, std::vector<int>{KestroApp::kRebuildAfterInstall});
    EXPECT_FALSE(tool->IsInstalling());
    EXPECT_FALSE(tool->IsDownloading());
    EXPECT_TRUE(Manager().GetInstallQueue().empty());
}

TEST_F(Install, UpdateOverAnInstalledRevision) {
    CatalogueEntry e(8, "Acme Tool", 6, "1.0", "/files/x.cab");
    e.cab = FakeCab("Acme Tool");
    catalogue.Add(e);
    Register("Acme Tool", 4);
    Manager().Start();
    shared_ptr<App> tool = Manager().GetInstalled().at(u"Acme Tool");
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*tool);
        Manager().CheckUpdates();
    }
    log.WaitEnd(*tool, App::LoadingDetails);
    test::Settle();
    ASSERT_EQ(Manager().GetPendingUpdates(), 1);
    {
        std::lock_guard<AppLockType> lock(AppLock());
        Manager().Update(tool);
        EXPECT_EQ(Manager().GetPendingUpdates(), 0);
        EXPECT_TRUE(Manager().GetDownloads().empty());  // not a first install
    }
    EXPECT_TRUE(log.WaitEnd(*tool, App::Installing));
    test::Settle();
    EXPECT_EQ(RegistryRevision("Acme Tool"), 6);
    // The install text holds a "/": the file is named after the sysid.
    ASSERT_EQ(InstallerLog().size(), 2u);
    EXPECT_EQ(InstallerLog()[0],
              "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\Acme Tool.cab] own=");
    EXPECT_EQ(Manager().GetInstalled().at(u"Acme Tool"), tool);
    EXPECT_EQ(Manager().GetPendingUpdates(), 0);
}

TEST_F(Install, FailuresAreReportedAndRecordNothing) {
    // The installer leaves no install key.
    shared_ptr<App> nokey = InstallCab(CatalogueEntry(0, "Acme None", 2), "none.cab", "");
    EXPECT_FALSE(log.WaitEnd(*nokey, App::Installing));
    test::Settle();
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\none.cab"));  // it ran: disposed
    EXPECT_EQ(RegistryRevision("Acme None"), -1);

    // The CAB is missing, or its path would not fit the command line: no installer runs.
    shared_ptr<App> missing = CatalogueApp(CatalogueEntry(0, "Acme Missing", 2));
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*missing);
        missing->Install(u"\\Program Files\\Zentri\\cabs\\missing.cab");
    }
    EXPECT_FALSE(log.WaitEnd(*missing, App::Installing));
    // The command line `/delete 0 "<path>"` holds 255 characters at most: 243 for the path, 216
    // for the file name in the cabs folder.
    std::string longName(216 - 4 + 1, 'x');
    shared_ptr<App> longer =
        InstallCab(CatalogueEntry(0, "Acme Long", 2), longName + ".cab", FakeCab("Acme Long"));
    EXPECT_FALSE(log.WaitEnd(*longer, App::Installing));
    test::Settle();
    EXPECT_EQ(InstallerLog().size(), 2u);  // only the first job reached the installer
    EXPECT_TRUE(device.Exists(kCabs + longName + ".cab"));  // kept until the program ends
    EXPECT_EQ(RegistryRevision("Acme Long"), -1);
    std::string fits(longName.size() - 1, 'x');
    shared_ptr<App> shorter =
        InstallCab(CatalogueEntry(0, "Acme Fits", 2), fits + ".cab", FakeCab("Acme Fits"));
    EXPECT_TRUE(log.WaitEnd(*shorter, App::Installing));

    // No installer on the device; a first install leaves the downloads, nothing is installed.
    fs::remove(platform::HostPath("\\Windows\\wceload.exe"));
    CatalogueEntry e(9, "Acme Tool", 5, "1.0", "tool.cab");
    e.cab = FakeCab("Acme Tool");
    catalogue.Add(e);
    shared_ptr<App> tool = CatalogueApp(e);
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*tool);
        Manager().DownloadNew(tool);
    }
    EXPECT_FALSE(log.WaitEnd(*tool, App::Installing));
    test::Settle();
    EXPECT_EQ(log.Summary(*tool), "D0 Dp Dt I0 If");
    EXPECT_TRUE(device.Exists("\\Program Files\\Zentri\\cabs\\tool.cab"));
    std::lock_guard<AppLockType> lock(AppLock());
    EXPECT_TRUE(Manager().GetDownloads().empty());
    EXPECT_FALSE(Manager().HasInstalled(u"Acme Tool"));
    EXPECT_EQ(app.rebuilds.size(), 5u);  // every ended job rebuilds the scenes
}

TEST_F(Install, FailedDownloadEndsTheChain) {
    catalogue.Add(CatalogueEntry(3, "Acme Gone", 1));  // no package: 404
    shared_ptr<App> gone = CatalogueApp(CatalogueEntry(3, "Acme Gone", 1));
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*gone);
        Manager().DownloadNew(gone);
    }
    EXPECT_FALSE(log.WaitEnd(*gone, App::Downloading));
    test::Settle();
    EXPECT_EQ(log.Summary(*gone), "D0 Df");
    EXPECT_TRUE(InstallerLog().empty());
    EXPECT_TRUE(fs::is_empty(CabFolderHost()));
    EXPECT_TRUE(Manager().GetInstallQueue().empty());
}

TEST_F(Install, DownloadsOfOneCabNameEachWriteAFileOfTheirOwn) {
    // Two applications whose install texts name one file (the device ignores case); the first
    // one's installer still runs, its clean-up still to come, when the second download ends.
    MakeFifos();
    CatalogueEntry a(1, "Acme A", 1, "1.0", "tool.cab"), b(2, "Acme B", 1, "1.0", "TOOL.cab");
    a.cab = FakeCab("Acme A", true);
    b.cab = FakeCab("Acme B");
    catalogue.Add(a);
    catalogue.Add(b);
    shared_ptr<App> first = CatalogueApp(a), second = CatalogueApp(b);
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*first);
        Manager().DownloadNew(first);
    }
    ASSERT_TRUE(WaitStarted());
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*second);
        Manager().DownloadNew(second);
    }
    EXPECT_TRUE(log.WaitEnd(*second, App::Downloading));
    EXPECT_EQ(device.ReadFile(std::string(kCabs) + "tool.cab"), a.cab);
    EXPECT_EQ(device.ReadFile(std::string(kCabs) + "TOOL (2).cab"), b.cab);
    Go();
    EXPECT_TRUE(log.WaitEnd(*first, App::Installing));
    EXPECT_TRUE(log.WaitEnd(*second, App::Installing));
    test::Settle();

    auto lines = InstallerLog();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\tool.cab] own=");
    EXPECT_EQ(lines[2], "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\TOOL (2).cab] own=");
    EXPECT_EQ(RegistryRevision("Acme A"), 1);
    EXPECT_EQ(RegistryRevision("Acme B"), 1);
    EXPECT_TRUE(fs::is_empty(CabFolderHost()));  // both disposed of, no ".part" left behind
}

TEST_F(Install, TheServersInstallTextNeverLeadsOutOfTheCabsFolder) {
    // Were the name taken as it is, the download would replace the installer itself.
    CatalogueEntry e(4, "Acme Evil", 1, "1.0", "..\\..\\..\\Windows\\wceload.exe");
    e.cab = FakeCab("Acme Evil");
    catalogue.Add(e);
    std::string installer = device.ReadFile("\\Windows\\wceload.exe");
    shared_ptr<App> evil = CatalogueApp(e);
    fs::remove_all(CabFolderHost());  // removed meanwhile: made again for the download
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*evil);
        Manager().DownloadNew(evil);
    }
    EXPECT_TRUE(log.WaitEnd(*evil, App::Installing));
    EXPECT_EQ(device.ReadFile("\\Windows\\wceload.exe"), installer);
    ASSERT_FALSE(InstallerLog().empty());
    EXPECT_EQ(InstallerLog()[0],
              "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\Acme Evil.cab] own=");
}

TEST_F(Install, JobsQueuedBackToBackRunOneAfterTheOther) {
    MakeFifos();
    shared_ptr<App> first =
        InstallCab(CatalogueEntry(0, "Acme First", 1), "first.cab", FakeCab("Acme First", true));
    // When the first job reports, it is still the head of the queue and the second has not
    // reached the installer.
    std::vector<std::string> logAtFirstEnd;
    size_t queueAtFirstEnd = 0;
    first->StatusChanged.Add([&](App*, App::AppStatusType type, bool finished, double, bool) {
        if (type != App::Installing || !finished) return;
        logAtFirstEnd = InstallerLog();
        queueAtFirstEnd = Manager().GetInstallQueue().size();
    });
    shared_ptr<App> second =
        InstallCab(CatalogueEntry(0, "Acme Second", 1), "second.cab", FakeCab("Acme Second"));
    {
        auto queue = Manager().GetInstallQueue();
        ASSERT_EQ(queue.size(), 2u);
        EXPECT_EQ(queue[0], first->installRequest);
        EXPECT_EQ(queue[1], second->installRequest);
    }
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(InstallerLog().size(), 1u);
    EXPECT_TRUE(second->IsInstalling());  // waiting counts as installing
    EXPECT_TRUE(AnyWorkPending());        // automation scripts wait for the installs
    Go();
    EXPECT_TRUE(log.WaitEnd(*first, App::Installing));
    EXPECT_TRUE(log.WaitEnd(*second, App::Installing));
    test::Settle();

    EXPECT_EQ(logAtFirstEnd.size(), 2u);
    EXPECT_EQ(queueAtFirstEnd, 2u);
    auto lines = InstallerLog();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("first.cab"), std::string::npos);
    EXPECT_EQ(lines[1], "end");
    EXPECT_NE(lines[2].find("second.cab"), std::string::npos);
    EXPECT_EQ(RegistryRevision("Acme First"), 1);
    EXPECT_EQ(RegistryRevision("Acme Second"), 1);
    EXPECT_TRUE(Manager().GetInstallQueue().empty());
    EXPECT_FALSE(AnyWorkPending());
}

TEST_F(Install, ACatalogueSysidNamingAPlatformKeyNeverCountsAsInstalled) {
    // The handset's installer keeps keys of its own beside the applications' install keys.
    // Its key existing says nothing about a package of that name, which the installer never
    // installs: the job fails, and the platform's key gets no revision.
    Register("TSKAllowed");
    Register("ExtensionOptions");
    for (const char* sysid : {"TSKAllowed", "extensionoptions"}) {
        CatalogueEntry e(11, sysid, 3, "1.0", "platform.cab");
        e.cab = FakeCab("");  // the installer registers nothing
        catalogue.Add(e);
        shared_ptr<App> a = CatalogueApp(e);
        {
            std::lock_guard<AppLockType> lock(AppLock());
            log.Attach(*a);
            Manager().DownloadNew(a);
        }
        EXPECT_FALSE(log.WaitEnd(*a, App::Installing)) << sysid;
        test::Settle();
        std::lock_guard<AppLockType> lock(AppLock());
        EXPECT_FALSE(Manager().HasInstalled(platform::Utf8ToUtf16(sysid))) << sysid;
        EXPECT_FALSE(Manager().IsInstalled(platform::Utf8ToUtf16(sysid))) << sysid;
        EXPECT_EQ(Manager().GetInstalledRevision(platform::Utf8ToUtf16(sysid)), 0) << sysid;
    }
    EXPECT_EQ(RegistryRevision("TSKAllowed"), 0);
    EXPECT_EQ(RegistryRevision("ExtensionOptions"), 0);
}

TEST_F(Install, KeptCabsGoToTheStorageCardUnlessOneIsThere) {
    Kestro::Instance().keepCabs = true;
    shared_ptr<App> a = InstallCab(CatalogueEntry(0, "Acme A", 1), "a.cab", FakeCab("Acme A"));
    EXPECT_TRUE(log.WaitEnd(*a, App::Installing));
    EXPECT_EQ(device.ReadFile("\\Storage Card\\Zentri CABs\\a.cab"), FakeCab("Acme A"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\a.cab"));

    // A kept CAB of the same name stays as it was; the new one is deleted.
    device.WriteFile("\\Storage Card\\Zentri CABs\\b.cab", "older");
    shared_ptr<App> b = InstallCab(CatalogueEntry(0, "Acme B", 1), "b.cab", FakeCab("Acme B"));
    EXPECT_TRUE(log.WaitEnd(*b, App::Installing));
    EXPECT_EQ(device.ReadFile("\\Storage Card\\Zentri CABs\\b.cab"), "older");
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\b.cab"));

    // No card: deleted.
    device.WriteFile("\\device.ini", "[device]\nstorage_card =\n");
    shared_ptr<App> c = InstallCab(CatalogueEntry(0, "Acme C", 1), "c.cab", FakeCab("Acme C"));
    EXPECT_TRUE(log.WaitEnd(*c, App::Installing));
    test::Settle();
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\c.cab"));
    EXPECT_FALSE(device.Exists("\\Storage Card\\Zentri CABs\\c.cab"));

    std::lock_guard<std::mutex> lock(debugMutex);
    EXPECT_EQ(debugLines, (std::vector<std::string>{
                              "save cab to \\Storage Card\\Zentri CABs\\a.cab\n",
                              "save cab to \\Storage Card\\Zentri CABs\\b.cab\n",
                          }));
}

TEST_F(Install, TheProgramsOwnRevisionIsSwappedWhileItsInstallerRuns) {
    platform::RegKey own;
    ASSERT_EQ(platform::RegKey::Create("\\Software\\Zentri", own), platform::RegResult::Ok);
    own.SetDword("ZentriRevision", 12);
    shared_ptr<App> zentri =
        InstallCab(CatalogueEntry(0, "Nelvo Zentri", 20), "zentri.cab", FakeCab("Nelvo Zentri"));
    EXPECT_TRUE(log.WaitEnd(*zentri, App::Installing));
    test::Settle();
    // Any other application leaves it alone.
    shared_ptr<App> other =
        InstallCab(CatalogueEntry(0, "Acme Zentri", 30), "other.cab", FakeCab("Acme Zentri"));
    EXPECT_TRUE(log.WaitEnd(*other, App::Installing));
    test::Settle();

    auto lines = InstallerLog();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\zentri.cab] own=0x14");
    EXPECT_EQ(lines[2], "start [/delete] [0] [\\Program Files\\Zentri\\cabs\\other.cab] own=0xc");
    uint32_t revision = 0;
    EXPECT_EQ(own.QueryDword("ZentriRevision", revision), platform::RegResult::Ok);
    EXPECT_EQ(revision, 12u);
    EXPECT_EQ(RegistryRevision("Nelvo Zentri"), 20);
    EXPECT_EQ(RegistryRevision("Acme Zentri"), 30);
}

// Here the program runs on over its own update, so it must not put back the revision it
// replaced; an installer that committed nothing (refused, cancelled) leaves the earlier value.
TEST_F(Install, TheProgramsOwnUpdateThatTheInstallerCommitsKeepsTheNewRevision) {
    platform::RegKey own;
    ASSERT_EQ(platform::RegKey::Create("\\Software\\Zentri", own), platform::RegResult::Ok);
    own.SetDword("ZentriRevision", 12);
    Register("Nelvo Zentri", 12);
    std::string committed = FakeCab("Nelvo Zentri") + "commit=2\n";
    shared_ptr<App> update =
        InstallCab(CatalogueEntry(0, "Nelvo Zentri", 20), "zentri.cab", committed);
    EXPECT_TRUE(log.WaitEnd(*update, App::Installing));
    test::Settle();
    uint32_t revision = 0;
    EXPECT_EQ(own.QueryDword("ZentriRevision", revision), platform::RegResult::Ok);
    EXPECT_EQ(revision, 20u);
    EXPECT_EQ(RegistryRevision("Nelvo Zentri"), 20);

    shared_ptr<App> refused =
        InstallCab(CatalogueEntry(0, "Nelvo Zentri", 30), "zentri.cab", FakeCab("Nelvo Zentri"));
    EXPECT_TRUE(log.WaitEnd(*refused, App::Installing));
    test::Settle();
    EXPECT_EQ(own.QueryDword("ZentriRevision", revision), platform::RegResult::Ok);
    EXPECT_EQ(revision, 20u);
}

TEST_F(Install, ShutdownWaitsForTheRunningInstallerAndDropsTheRest) {
    MakeFifos();
    shared_ptr<App> running = InstallCab(CatalogueEntry(0, "Acme Running", 3), "running.cab",
                                         FakeCab("Acme Running", true));
    shared_ptr<App> waiting =
        InstallCab(CatalogueEntry(0, "Acme Waiting", 3), "waiting.cab", FakeCab("Acme Waiting"));
    ASSERT_TRUE(WaitStarted());

    // The application goes away first: from now on nothing reports to it.
    Manager().StopJobs();
    EXPECT_FALSE(waiting->IsInstalling());
    EXPECT_TRUE(running->IsInstalling());
    shared_ptr<InstallRequest> late = Manager().QueueInstall(u"\\x.cab", u"Acme Late", 1);
    EXPECT_FALSE(late->active);
    Go();
    Manager().Shutdown();

    EXPECT_EQ(log.Summary(*running), "I0");
    EXPECT_EQ(log.Summary(*waiting), "I0");
    EXPECT_FALSE(running->IsInstalling());
    EXPECT_TRUE(app.rebuilds.empty());
    // The device's own record is complete, and the jobs let go of their applications.
    EXPECT_EQ(RegistryRevision("Acme Running"), 3);
    EXPECT_EQ(RegistryRevision("Acme Waiting"), -1);
    EXPECT_EQ(InstallerLog().size(), 2u);
    EXPECT_TRUE(running->installRequest->Finished.Empty());
    EXPECT_TRUE(waiting->installRequest->Finished.Empty());
    EXPECT_TRUE(Manager().GetInstallQueue().empty());
    EXPECT_FALSE(fs::exists(CabFolderHost()));
}

}  // namespace
}  // namespace zentri
