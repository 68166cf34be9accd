// Download and install: the install queue, its worker, and what the worker leaves on the device.

#include <filesystem>
#include <fstream>
#include <mutex>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "manager/app_manager.h"
#include "manager/cab_file_name.h"
#include "manager/install_key.h"
#include "platform/debug.h"
#include "platform/install_journal.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

constexpr const char* kInstaller = "\\Windows\\wceload.exe";
// The installer's command line is formatted into a buffer of this many UTF-16 characters,
// its terminating zero included.
constexpr size_t kCommandLineBuffer = 256;

// `/delete 0 "<cab>"`: the installer leaves the CAB in place; the program disposes of it. None
// when the line would not fit the buffer (a cut path would name another file).
std::optional<std::u16string> InstallerCommandLine(const std::u16string& cabPath) {
    std::u16string line = u"/delete 0 \"" + cabPath + u"\"";
    if (line.size() >= kCommandLineBuffer) return std::nullopt;
    return line;
}

// The commit number of the program's own install record, which the installer raises with
// every installation it commits (0 when there is none); 0 for any other application.
uint32_t OwnInstallCommit(const InstallRequest& job) {
    std::optional<std::string> path = InstallKeyPath(job.sysid);
    platform::RegKey key;
    uint32_t commit = 0;
    if (job.sysid != AppManager::kOwnSysid || !path ||
        platform::RegKey::Open(*path, key) != platform::RegResult::Ok ||
        key.QueryDword(platform::kCommitValue, commit) != platform::RegResult::Ok)
        return 0;
    return commit;
}

}  // namespace

void AppManager::DownloadNew(shared_ptr<App> app) {
    std::lock_guard<AppLockType> lock(AppLock());
    downloads.emplace(app->sysid, app);
    app->Download();
}

void AppManager::Update(shared_ptr<App> app) {
    std::lock_guard<AppLockType> lock(AppLock());
    app->Download();
    // The download took its CAB name as an update's: the application no longer counts.
    RecountUpdate(app->sysid);
}

std::u16string AppManager::ReserveCab(const App& app) {
    // The folder is made at start; it may have been removed since.
    platform::CreateFolder(platform::Utf16ToUtf8(cabFolder));
    // Whatever is not a first install (DownloadNew) is an update, as for the install's record.
    CabFiles::Use use{app.sysid, downloads.count(app.sysid) == 0};
    return cabFiles.Reserve(cabFolder, CabFileName(app.install, app.sysid), use);
}

bool AppManager::EndCabDownload(const std::u16string& path, bool ok) {
    std::lock_guard<AppLockType> lock(AppLock());
    if (ok) {
        // A file of that name left by a failed install of this run, which nothing uses any
        // more, is replaced.
        std::error_code ec;
        std::filesystem::path part =
            platform::HostPath(platform::Utf16ToUtf8(CabFiles::PartPath(path)));
        std::filesystem::rename(part, platform::HostPath(platform::Utf16ToUtf8(path)), ec);
        if (!ec) return true;
        std::filesystem::remove(part, ec);
    }
    if (std::optional<CabFiles::Use> use = cabFiles.Release(path)) RecountUpdate(use->sysid);
    return false;
}

shared_ptr<InstallRequest> AppManager::QueueInstall(const std::u16string& cabPath,
                                                    const std::u16string& sysid, int32_t revision) {
    std::lock_guard<AppLockType> lock(AppLock());
    shared_ptr<InstallRequest> job = MakeShared<InstallRequest>();
    job->cabPath = cabPath;
    job->sysid = sysid;
    job->revision = revision;
    if (!installJobs.Append(job)) job->active = false;  // stopping: it never runs
    return job;
}

void AppManager::FinishInstall(InstallRequest* job) {
    installJobs.Finish(job);
}

void AppManager::InstallWorker(shared_ptr<InstallRequest> job) {
    uint32_t ownCommit = OwnInstallCommit(*job);
    int32_t old = ExchangeOwnRevision(*job, job->revision);
    bool ok = RunInstaller(*job);
    // The running program outlives an installation of itself: its files were renamed over, the
    // new revision is what the device holds and what its next start must find. Only when the
    // installer committed nothing does the earlier value go back.
    bool ownReplaced = ok && OwnInstallCommit(*job) != ownCommit;

    std::lock_guard<AppLockType> lock(AppLock());
    cabFiles.Release(job->cabPath);  // disposed of (or never opened): the name is free again
    if (installJobs.Stopped()) {
        // The program is going away: only the device's own record is completed.
        if (ok) WriteInstalledRevision(*job);
    } else {
        job->Finished.Invoke(job.get(), ok);
        RecordInstall(*job, ok);
        RecountUpdate(job->sysid);
    }
    job->Finished.Clear();  // called once; lets go of the application it reports to
    if (!ownReplaced) ExchangeOwnRevision(*job, old);
    if (!installJobs.Stopped()) RebuildCatalogueScenes(KestroApp::kRebuildAfterInstall);
    FinishInstall(job.get());
}

void AppManager::RecordInstall(const InstallRequest& job, bool ok) {
    auto download = downloads.find(job.sysid);
    if (download == downloads.end()) {
        // An update: the application was installed before.
        if (ok) WriteInstalledRevision(job);
        return;
    }
    downloads.erase(download);
    if (!ok) return;
    AddInstalled(job.sysid);
    ScanShortcuts();  // the new application's shortcut, for Run
    WriteInstalledRevision(job);
}

bool AppManager::RunInstaller(InstallRequest& job) {
    struct Inactive {
        InstallRequest& job;
        ~Inactive() { job.active = false; }
    } inactive{job};

    std::string cab = platform::Utf16ToUtf8(job.cabPath);
    if (!std::ifstream(platform::HostPath(cab), std::ios::binary)) return false;
    std::optional<std::u16string> line = InstallerCommandLine(job.cabPath);
    if (!line) return false;
    std::optional<platform::Process> installer =
        platform::Process::Start(kInstaller, platform::Utf16ToUtf8(*line));
    if (!installer) return false;
    installer->Wait();  // the exit code says nothing: the install key does
    DisposeOfCab(job.cabPath);
    return IsInstalled(job.sysid);
}

void AppManager::DisposeOfCab(const std::u16string& cabPath) {
    std::string cab = platform::Utf16ToUtf8(cabPath);
    bool keep;
    {
        std::lock_guard<AppLockType> lock(AppLock());  // the setting belongs to the UI thread
        keep = Kestro::Instance().keepCabs;
    }
    if (keep) {
        std::string card = platform::StorageCardFolder();
        if (card.size() > 1) {
            std::string folder = card + "\\Zentri CABs\\";
            std::string target = folder + platform::DeviceFileName(cab);
            platform::CreateFolder(folder);
            platform::DebugPrintf("save cab to %s\n", target.c_str());
            if (!platform::MoveFile(cab, target)) {
                std::error_code ec;
                std::filesystem::remove(platform::HostPath(cab), ec);
            }
            return;
        }
    } else {
        platform::DebugPrintf("delete cab from %s\n", cab.c_str());
    }
    std::error_code ec;
    std::filesystem::remove(platform::HostPath(cab), ec);
}

int32_t AppManager::ExchangeOwnRevision(const InstallRequest& job, int32_t revision) {
    if (job.sysid != kOwnSysid) return 0;
    platform::RegKey key;
    if (platform::RegKey::Open(kOwnKey, key) != platform::RegResult::Ok) return 0;
    uint32_t old = 0;
    if (key.QueryDword(kRevisionValue, old) != platform::RegResult::Ok) old = 0;
    key.SetDword(kRevisionValue, static_cast<uint32_t>(revision));
    return static_cast<int32_t>(old);
}

void AppManager::WriteInstalledRevision(const InstallRequest& job) {
    std::optional<std::string> path = InstallKeyPath(job.sysid);
    platform::RegKey key;
    if (!path || platform::RegKey::Open(*path, key) != platform::RegResult::Ok) return;
    key.SetDword(kRevisionValue, static_cast<uint32_t>(job.revision));
}

}  // namespace zentri
