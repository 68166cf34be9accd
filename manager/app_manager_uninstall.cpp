// Uninstall: the uninstall queue and its worker, which hands a provisioning document to the
// configuration manager.

#include <mutex>

#include "app/kestro_app.h"
#include "manager/app_manager.h"
#include "manager/uninstall_document.h"
#include "platform/text.h"
#include "ui/app_lock.h"

namespace zentri {

shared_ptr<UninstallRequest> AppManager::QueueUninstall(const std::u16string& sysid) {
    std::lock_guard<AppLockType> lock(AppLock());
    shared_ptr<UninstallRequest> job = MakeShared<UninstallRequest>();
    job->sysid = sysid;
    if (!uninstallJobs.Append(job)) job->active = false;  // stopping: it never runs
    return job;
}

void AppManager::FinishUninstall(UninstallRequest* job) {
    uninstallJobs.Finish(job);
}

void AppManager::UninstallWorker(shared_ptr<UninstallRequest> job) {
    bool ok = RunRemoval(*job);

    std::lock_guard<AppLockType> lock(AppLock());
    if (!uninstallJobs.Stopped()) {
        // RemoveInstalled also takes the application out of the update count.
        job->Finished.Invoke(job.get(), ok);
        if (ok) {
            RemoveInstalled(job->sysid);
            RebuildCatalogueScenes(KestroApp::kRebuildAfterUninstall);
        }
    }
    job->Finished.Clear();
    FinishUninstall(job.get());
}

bool AppManager::RunRemoval(UninstallRequest& job) {
    std::string document = platform::Utf16ToUtf8(UninstallDocument(job.sysid));
    std::string result;  // the result document is not read
    ConfigurationManager process = configurationManager;
    int status = process(document, &result);
    job.active = false;
    return status >= 0 && !IsInstalled(job.sysid);
}

}  // namespace zentri
