#include "scenes/app_actions.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "manager/app.h"
#include "manager/app_manager.h"
#include "net/api_requests.h"

namespace zentri {

namespace {

std::u16string Str(int id) {
    return Localization::Instance().Get(id);
}

}  // namespace

DetailActions ActionsFor(const DeviceState& state, const App& catalogue) {
    DetailActions actions;
    if (state.installed) {
        actions.run = state.executableFound;
        actions.uninstall = true;
        // Without a package there is nothing to update with: the download would be refused.
        actions.update = state.installedRevision < catalogue.revision && !catalogue.install.empty();
        return actions;
    }
    actions.install = !catalogue.install.empty();
    return actions;
}

Activity ActivityOf(const App& app) {
    return Activity{app.IsDownloading(), app.IsInstalling(), app.IsUninstalling()};
}

RowControls ControlsFor(const App& app, const Activity& activity, const DeviceState& state,
                        double downloadProgress) {
    RowControls controls;
    // The last activity that applies names the row's state.
    if (activity.downloading) controls.statusText = 11005;
    if (activity.uninstalling) controls.statusText = 11004;
    if (activity.installing) controls.statusText = 11003;
    const bool busy = controls.statusText != 0;
    if (busy)
        controls.section = kSectionBusy;
    else
        controls.section = app.catalogueValid ? kSectionCatalogue : kSectionOther;
    // An application that is not in the catalogue has no revision to update to.
    controls.update = !busy && app.catalogueValid && state.installedRevision < app.revision &&
                      !app.install.empty();
    controls.run = !busy && state.executableFound;
    controls.uninstall = !busy;
    controls.progress = busy;
    controls.progressValue = controls.statusText == 11005 ? downloadProgress : 0.0;
    return controls;
}

shared_ptr<App> InstalledRecord(const std::u16string& sysid) {
    const AppManager::AppMap& installed = AppManager::Instance().GetInstalled();
    auto it = installed.find(sysid);
    return it == installed.end() ? shared_ptr<App>() : it->second;
}

void AdoptCatalogueFields(App& installed, const App& catalogue) {
    installed.id = catalogue.id;
    installed.name = catalogue.name;
    installed.com = catalogue.com;
    installed.icon = catalogue.icon;
    installed.catid = catalogue.catid;
    installed.type = catalogue.type;
    installed.rate = catalogue.rate;
    installed.rates = catalogue.rates;
    installed.reviews = catalogue.reviews;
    installed.views = catalogue.views;
    installed.downloads = catalogue.downloads;
    installed.createtime = catalogue.createtime;
    installed.version = catalogue.version;
    installed.revision = catalogue.revision;
    installed.exe = catalogue.exe;
    installed.install = catalogue.install;
    installed.catalogueValid = true;
}

DeviceState StateOnDevice(const App& app) {
    const AppManager& manager = AppManager::Instance();
    DeviceState state;
    state.installed = manager.HasInstalled(app.sysid);
    state.executableFound = !manager.FindExecutable(app.sysid, app.exe).empty();
    state.installedRevision = manager.GetInstalledRevision(app.sysid);
    return state;
}

std::u16string ReplaceFirst(std::u16string text, std::u16string_view placeholder,
                            std::u16string_view value) {
    size_t at = text.find(placeholder);
    if (at != std::u16string::npos) text.replace(at, placeholder.size(), value);
    return text;
}

std::u16string Question(std::u16string templ, std::u16string_view app,
                        const std::function<std::u16string()>& size) {
    templ = ReplaceFirst(std::move(templ), u"--app--", app);
    if (templ.find(u"--size--") != std::u16string::npos)
        templ = ReplaceFirst(templ, u"--size--", size());
    return templ;
}

std::u16string DownloadSizeText(const App& app) {
    return api::QuerySize(api::DownloadSizeUrl(Kestro::Instance().GetSessionId(), app.id));
}

std::u16string InstallQuestion(const App& app) {
    return Question(Str(11009), app.name, [&app] { return DownloadSizeText(app); });
}

std::u16string UpdateQuestion(const App& app, int32_t installedRevision) {
    // An application installed by other means has no known revision.
    const int id = installedRevision == 0 ? 11014 : 11007;
    return Question(Str(id), app.name + u" " + app.version,
                    [&app] { return DownloadSizeText(app); });
}

std::u16string UninstallQuestion(const App& app) {
    return Question(Str(11006), app.name, [] { return std::u16string(); });
}

void Confirm(KestroApp& app, const std::u16string& question, std::function<void()> action) {
    auto answer = app.ShowPopup(Str(8), question, Str(1), Str(2));
    if (!answer) return;
    answer->Add([action = std::move(action)](PopupBox::PopupBoxResult result) {
        if (result == PopupBox::LeftKey) action();
    });
}

}  // namespace zentri
