#pragma once
// What an application offers on its details page and in its My apps row, given its state on the
// device, and the questions asked before an install, an update or a removal. The decisions are
// pure functions of the facts, so that the pages and their tests agree on them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/shared_object.h"

namespace zentri {

struct App;
class KestroApp;

// The facts about one application on this device.
struct DeviceState {
    bool installed = false;         // application management lists it as installed
    bool executableFound = false;   // its main executable is in its install record
    int32_t installedRevision = 0;  // what the program installed; 0 when unknown
};

// The action buttons of the details page.
struct DetailActions {
    bool run = false;
    bool uninstall = false;
    bool update = false;
    bool install = false;
};
DetailActions ActionsFor(const DeviceState& state, const App& catalogue);

// The section of a My apps row (its tag) and what its control bar shows.
enum MyAppsSection : unsigned { kSectionBusy = 300, kSectionCatalogue = 301, kSectionOther = 302 };
struct RowControls {
    int statusText = 0;  // localized id of the activity under way, 0 when idle
    unsigned section = kSectionOther;
    bool update = false;
    bool run = false;
    bool uninstall = false;
    bool progress = false;
    double progressValue = 0.0;
};
// What the application is doing now.
struct Activity {
    bool downloading = false;
    bool installing = false;
    bool uninstalling = false;
};
Activity ActivityOf(const App& app);
// `downloadProgress` is the fraction the last download notification reported.
RowControls ControlsFor(const App& app, const Activity& activity, const DeviceState& state,
                        double downloadProgress);

// The record application management keeps for an installed application; null when none.
shared_ptr<App> InstalledRecord(const std::u16string& sysid);
// Gives an installed record the catalogue's description of its application (all but the
// sysid), so that an update installs the catalogue's revision and is counted as such.
void AdoptCatalogueFields(App& installed, const App& catalogue);

// The facts as application management knows them now.
DeviceState StateOnDevice(const App& app);

// `text` with the first `placeholder` replaced by `value` (unchanged when it has none).
std::u16string ReplaceFirst(std::u16string text, std::u16string_view placeholder,
                            std::u16string_view value);

// A question from the template with its "--app--" filled; "--size--" is filled from `size`,
// which is asked only when the template holds the placeholder (it may block).
std::u16string Question(std::u16string templ, std::u16string_view app,
                        const std::function<std::u16string()>& size);

// The questions of the three actions (localized strings 11009, 11007 or 11014, 11006); the
// size of the download is asked of the server while the question is formed.
std::u16string InstallQuestion(const App& app);
std::u16string UpdateQuestion(const App& app, int32_t installedRevision);
std::u16string UninstallQuestion(const App& app);

// The download size as the server states it (blocks until it answers).
std::u16string DownloadSizeText(const App& app);

// The popup box with the question, yes and no; `action` runs when the answer is yes. Nothing
// when another box is on screen.
void Confirm(KestroApp& app, const std::u16string& question, std::function<void()> action);

}  // namespace zentri
