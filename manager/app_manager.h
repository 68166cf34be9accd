#pragma once
// Application management: which applications are installed on the device and at which
// revision, how many have a newer revision in the catalogue, the program's own update, starting
// installed applications, and the install and uninstall queues.
//
// The device's record of installed software is \Security\AppInstall\<sysid> (written by the CAB
// installer); the program adds "ZentriRevision" there after each successful install. The
// program's own revision lives in \Software\Zentri\ "ZentriRevision".
//
// Threads: everything runs on the UI thread (or under appLock) except the install and uninstall
// workers. A worker does its blocking work (the installer, the configuration manager, file moves)
// without appLock and takes appLock to report: Finished, StatusChanged, `installed`, `downloads`
// and the scene rebuild happen under it. Lock order: appLock, then a queue lock.
//
// Typical use by a scene:
//   AppManager::Instance().DownloadNew(app);          // first install: download, then install
//   app->StatusChanged.Add(this, &Row::OnAppStatus);  // progress and results, under appLock
//   AppManager::Instance().UpdatesChanged.Add(this, &MainMenu::OnUpdates);
//   int n = AppManager::Instance().GetPendingUpdates();

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "manager/app.h"
#include "manager/cab_files.h"
#include "manager/install_request.h"
#include "manager/job_queue.h"
#include "manager/uninstall_request.h"
#include "ui/delegate.h"
#include "ui/pending_work.h"
#include "ui/shared_object.h"
#include "ui/singleton.h"

namespace zentri {

class AppManager : public Singleton<AppManager> {
  public:
    using AppMap = std::map<std::u16string, shared_ptr<App>>;
    // The configuration manager: processes a provisioning document (UTF-8), fills `result` with
    // its result document, returns a status code, negative on failure.
    using ConfigurationManager = int (*)(const std::string& document, std::string* result);

    // The program's own install key name.
    static constexpr const char16_t* kOwnSysid = u"Nelvo Zentri";

    // The start-up: cabFolder (created), the Start-menu shortcuts, the installed applications,
    // and the counters at their start values. Run by the constructor; after Shutdown it starts
    // the manager over on the current device (tests). Takes appLock.
    void Start();

    // Stops taking jobs and drops the ones still waiting; running workers finish their work on
    // the device (the installer or the removal, the CAB, the recorded revisions) but no longer
    // call into the program (no Finished, no scenes). Does not block; may be called under
    // appLock, and should be before the application object goes away.
    void StopJobs();

    // StopJobs, then waits for the running workers (a running installer is waited for to its
    // end: it is short, and killing it could leave a package half-installed), then deletes the
    // cabs folder with everything in it. Must not be called while holding appLock: the workers
    // take it to end. Called by the destructor at exit (after it has stopped the transport, so
    // that no download or details answer arrives later); callable directly (tests).
    void Shutdown();

    // --- Installed applications and updates -------------------------------------------------

    // The "ZentriRevision" of the installed application, 0 when the key or the value is
    // missing. For the program itself (kOwnSysid), the one under \Software\Zentri\.
    int32_t GetInstalledRevision(const std::u16string& sysid) const;
    // The install key exists.
    bool IsInstalled(const std::u16string& sysid) const;
    // `installed` holds the sysid.
    bool HasInstalled(const std::u16string& sysid) const;
    // The device path of the application's main executable, or empty: the first value name of
    // its ExecutableFiles key that contains `exe`, or, for an empty `exe`, any executable name
    // found in the Start-menu shortcuts.
    std::u16string FindExecutable(const std::u16string& sysid, const std::u16string& exe) const;
    // Opens the executable through the shell and returns at once; nothing is reported when it
    // cannot be started.
    void Run(const std::u16string& sysid, const std::u16string& exe);
    // Asks the catalogue for every installed application's details (once per App) and counts
    // the newer revisions as they arrive.
    void CheckUpdates();

    // A new App from the key name in `installed` (an existing entry stays); its details are
    // requested. RemoveInstalled erases the entry. Under appLock.
    void AddInstalled(const std::u16string& sysid);
    void RemoveInstalled(const std::u16string& sysid);

    // Read the maps and the counter under appLock (or on the UI thread).
    const AppMap& GetInstalled() const { return installed; }
    const AppMap& GetDownloads() const { return downloads; }
    // The installed applications whose catalogue revision (from their details answer) is newer
    // than the one the program installed, less those whose update is under way. Kept as that
    // count whatever the order in which answers, updates, installs and removals arrive.
    int32_t GetPendingUpdates() const { return pendingUpdates; }
    // `pendingUpdates` changed.
    Delegation_0 UpdatesChanged;

    // The application calls this after a popup box has been answered (its answer handlers have
    // run): the program's own update question, when it found another box on screen, is asked
    // now. It is asked once per run, and not at all once that update is under way.
    void OnPopupClosed();

    // --- Download and install ----------------------------------------------------------------

    // First install: the app joins `downloads` (an existing entry stays) and is downloaded,
    // then installed. The App must be held by a shared_ptr.
    void DownloadNew(shared_ptr<App> app);
    // Install of the catalogue revision over an installed one; one pending update fewer.
    void Update(shared_ptr<App> app);

    // A device path of its own in the cabs folder for a new download of this app's CAB (see
    // CabFiles; the download writes CabFiles::PartPath of it); creates the cabs folder when it
    // is missing. The name stays taken until the install of that file has ended.
    std::u16string ReserveCab(const App& app);
    // The end of a download to a reserved path: when it worked, its ".part" file is renamed
    // into place; false when it failed or could not be renamed, and the name is given back.
    bool EndCabDownload(const std::u16string& path, bool ok);

    // Queues an install job and starts it when it is the head of the queue. A job queued after
    // StopJobs never runs (its `active` is false at once).
    shared_ptr<InstallRequest> QueueInstall(const std::u16string& cabPath,
                                            const std::u16string& sysid, int32_t revision);
    // Removes the job from the queue and starts the next; the worker's last step.
    void FinishInstall(InstallRequest* job);

    // The install queue head first (waiting and running jobs).
    std::vector<shared_ptr<InstallRequest>> GetInstallQueue() { return installJobs.Jobs(); }

    // --- Uninstall ---------------------------------------------------------------------------

    shared_ptr<UninstallRequest> QueueUninstall(const std::u16string& sysid);
    void FinishUninstall(UninstallRequest* job);
    std::vector<shared_ptr<UninstallRequest>> GetUninstallQueue() { return uninstallJobs.Jobs(); }

    // Stands in for the platform's configuration manager (tests inject faults); null restores
    // the platform's own, which runs in a child process (platform/config_process.h).
    void SetConfigurationManager(ConfigurationManager manager);

    const std::u16string& GetCabFolder() const { return cabFolder; }

  private:
    friend class Singleton<AppManager>;
    friend struct App;
    AppManager();
    ~AppManager() override;

    void ScanShortcuts();
    void ScanInstalled();
    void OnAppStatus(App* app, App::AppStatusType type, bool finished, double progress,
                     bool success);
    void AskSelfUpdate();
    // Whether the installed application counts as a pending update now; RecountUpdate brings
    // `pendingUpdates` in line with it.
    bool HasPendingUpdate(const std::u16string& sysid) const;
    void RecountUpdate(const std::u16string& sysid);

    // Install worker and its steps.
    void InstallWorker(shared_ptr<InstallRequest> job);
    bool RunInstaller(InstallRequest& job);
    void DisposeOfCab(const std::u16string& cabPath);
    int32_t ExchangeOwnRevision(const InstallRequest& job, int32_t revision);
    void WriteInstalledRevision(const InstallRequest& job);
    void RecordInstall(const InstallRequest& job, bool ok);

    // Uninstall worker and its steps.
    void UninstallWorker(shared_ptr<UninstallRequest> job);
    bool RunRemoval(UninstallRequest& job);

    // Asks the application, when there is one, to rebuild its catalogue scenes (under appLock).
    static void RebuildCatalogueScenes(int reason);

    // Downloads between their start and the end of their completion handler, for the pending
    // work probe (the transport forgets a transfer just before its completion runs).
    void DownloadStarted() { ++downloadsRunning; }
    void DownloadEnded() { --downloadsRunning; }

    AppMap installed;
    AppMap downloads;
    JobQueue<InstallRequest> installJobs;
    JobQueue<UninstallRequest> uninstallJobs;
    std::vector<std::u16string> shortcutExes;
    int32_t pendingUpdates = 0;
    std::set<std::u16string> updateSysids;  // the applications counted in pendingUpdates
    CabFiles cabFiles;
    std::u16string cabFolder;
    bool offerSelfUpdate = true;
    App* selfUpdateApp = nullptr;
    // The application of the self-update question while it waits for the box to be free.
    shared_ptr<App> selfUpdateWaiting;
    std::atomic<ConfigurationManager> configurationManager;
    std::atomic<int32_t> downloadsRunning{0};
    // Tells the automation that downloads, installs or uninstalls are under way (declared last:
    // unregistered first).
    WorkProbe pendingProbe;
};

}  // namespace zentri
