#include "manager/app.h"

#include "manager/install_request.h"
#include "manager/uninstall_request.h"
#include "net/http_request.h"

namespace zentri {

App::App() = default;

App::App(const std::u16string& keyName) : sysid(keyName), catalogueValid(false) {
    size_t blank = keyName.find(u' ');
    if (blank == std::u16string::npos) {
        name = keyName;
    } else {
        com = keyName.substr(0, blank);
        name = keyName.substr(blank + 1);
    }
}

App::~App() = default;

bool App::IsDownloading() const {
    return downloadRequest && downloadRequest->IsPending();
}

bool App::IsInstalling() const {
    return installRequest && installRequest->active;
}

bool App::IsUninstalling() const {
    return uninstallRequest && uninstallRequest->active;
}

}  // namespace zentri
