#pragma once
// The record of one catalogue application: filled by the answer parsers, kept by application
// management for the installed ones, shown by the scenes, which follow its activities through
// StatusChanged.

#include <cstdint>
#include <string>

#include "ui/delegate.h"
#include "ui/shared_object.h"

namespace zentri {

class HttpRequest;
class InstallRequest;
class UninstallRequest;

struct App : shared_object {
    // The activity a StatusChanged call reports on.
    enum AppStatusType : int32_t {
        Installing = 0,
        LoadingDetails = 1,
        Downloading = 2,
        Uninstalling = 3,
    };

    // A record for a catalogue answer to fill: empty texts, zero numbers, catalogueValid true.
    App();
    // A record for an installed application known only by its install key name. "Acme Soft
    // Tool" gives com "Acme" and name "Soft Tool"; a name without a blank is the whole name.
    explicit App(const std::u16string& keyName);
    ~App() override;

    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // True while the matching request or job exists and is still active.
    bool IsDownloading() const;
    bool IsInstalling() const;
    bool IsUninstalling() const;

    int32_t id = 0;  // sent as "appid"
    std::u16string name;
    std::u16string com;
    std::u16string sysid;  // its key name under \Security\AppInstall, the key of every map
    std::u16string icon;
    int32_t catid = 0;
    std::u16string type;  // price kind
    double rate = 0.0;
    int32_t rates = 0;
    int32_t reviews = 0;
    int32_t views = 0;
    int32_t downloads = 0;
    uint32_t createtime = 0;
    std::u16string version;
    int32_t revision = 0;
    std::u16string exe;      // hint for the main executable's file name; may be empty
    std::u16string install;  // CAB file name or download address
    shared_ptr<HttpRequest> detailsRequest;
    shared_ptr<HttpRequest> downloadRequest;
    shared_ptr<InstallRequest> installRequest;
    shared_ptr<UninstallRequest> uninstallRequest;
    // (app, activity, finished, progress, success): at the start (false, 0.0, true), during a
    // download (false, fraction, true), at the end (true, 1.0, whether it worked).
    Delegation_5<App*, AppStatusType, bool, double, bool> StatusChanged;
    bool catalogueValid = true;  // the catalogue fields come from a successful answer
};

}  // namespace zentri
