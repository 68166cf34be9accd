// The activities an application record starts: its details request, the CAB download, and the
// install and uninstall jobs it hands to the application manager.

#include <mutex>

#include "app/kestro.h"
#include "manager/app.h"
#include "manager/app_manager.h"
#include "manager/install_request.h"
#include "manager/uninstall_request.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response_appdetails.h"
#include "ui/app_lock.h"

namespace zentri {

void App::RequestDetails() {
    std::lock_guard<AppLockType> lock(AppLock());
    if (detailsRequest) return;
    detailsRequest = api::Send(api::AppDetailsBySysidUrl(Kestro::Instance().GetSessionId(), sysid));
    shared_ptr<App> self(this);  // kept until the answer: the request drops it afterwards
    detailsRequest->Completion().Add([self](HttpRequest* request, bool ok) {
        if (ok) {
            // Read into a scratch record: a failed answer leaves this one as it was.
            App answer;
            ok = XMLResponse_AppDetails(answer).Parse(
                     request->Body(), static_cast<size_t>(request->Size())) == kResultOk;
            if (ok) self->TakeCatalogueFields(answer);
            self->catalogueValid = ok;
        }
        self->StatusChanged(self.get(), LoadingDetails, true, 1.0, ok);
    });
    StatusChanged(this, LoadingDetails, false, 0.0, true);
}

void App::TakeCatalogueFields(const App& answer) {
    // The sysid stays: it is the key this record is known by on the device and in every map.
    id = answer.id;
    name = answer.name;
    com = answer.com;
    icon = answer.icon;
    catid = answer.catid;
    type = answer.type;
    rate = answer.rate;
    rates = answer.rates;
    reviews = answer.reviews;
    views = answer.views;
    downloads = answer.downloads;
    createtime = answer.createtime;
    version = answer.version;
    revision = answer.revision;
    exe = answer.exe;
    install = answer.install;
}

void App::Download() {
    std::lock_guard<AppLockType> lock(AppLock());
    AppManager& manager = AppManager::Instance();
    // A name of its own, written under a ".part" name until the body is complete.
    std::u16string path = manager.ReserveCab(*this);
    downloadRequest = api::SendToFile(api::DownloadUrl(Kestro::Instance().GetSessionId(), id),
                                      CabFiles::PartPath(path));
    manager.DownloadStarted();
    shared_ptr<App> self(this);  // kept until the transfer ends
    downloadRequest->Progress().Add([self](HttpRequest*, double fraction) {
        self->StatusChanged(self.get(), Downloading, false, fraction, true);
    });
    downloadRequest->Completion().Add([self, path](HttpRequest*, bool ok) {
        AppManager& manager = AppManager::Instance();
        ok = manager.EndCabDownload(path, ok);
        self->StatusChanged(self.get(), Downloading, true, 1.0, ok);
        if (ok) self->Install(path);
        manager.DownloadEnded();
    });
    StatusChanged(this, Downloading, false, 0.0, true);
}

void App::Install(const std::u16string& cabPath) {
    std::lock_guard<AppLockType> lock(AppLock());  // the job reports only after this returns
    AppManager& manager = AppManager::Instance();
    installRequest = manager.QueueInstall(cabPath, sysid, revision);
    // (StopJobs takes appLock too, so the queue cannot stop between the two calls.)
    if (manager.installJobs.Stopped()) return;  // the program is stopping: the job never runs
    shared_ptr<App> self(this);                 // kept until the job ends; the job then lets go
    installRequest->Finished.Add([self](InstallRequest*, bool result) {
        self->StatusChanged(self.get(), Installing, true, 1.0, result);
    });
    StatusChanged(this, Installing, false, 0.0, true);
}

void App::Uninstall() {
    std::lock_guard<AppLockType> lock(AppLock());
    AppManager& manager = AppManager::Instance();
    uninstallRequest = manager.QueueUninstall(sysid);
    if (manager.uninstallJobs.Stopped()) return;
    shared_ptr<App> self(this);
    uninstallRequest->Finished.Add([self](UninstallRequest*, bool result) {
        self->StatusChanged(self.get(), Uninstalling, true, 1.0, result);
    });
    StatusChanged(this, Uninstalling, false, 0.0, true);
}

}  // namespace zentri
