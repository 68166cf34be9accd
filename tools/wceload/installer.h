#pragma once
// The installer stand-in's work: installing one CAB package on the emulated device.
//
// The package is checked whole before anything on the device changes: the archive, its
// _setup.xml (tools/wceload/install_document.h), every stored file it names and the place of
// everything it would write. Its files are extracted into a staging folder inside the device
// root, the setup library (if any) is asked through Install_Init, and then everything is
// committed: old files set aside, folders made, new files moved into place (relative to folder
// descriptors, never through a link; tools/wceload/file_commit.h), and every registry change
// (the old revision's entries removed, the package's values, the install record of
// platform/install_record.h) written in one transaction. The commit is journaled
// (platform/install_journal.h): a failure at any step undoes the steps before it, and a run
// that was killed is finished or undone by the next run of the installer or the configuration
// manager before it does anything else, so the device holds exactly the old or exactly the
// new revision. Install_Exit is called last. A reinstall over an installed package (same AppName)
// replaces it: the files, shortcuts, registry entries and folders of the old revision that the new
// one lacks are removed. Only one installation or removal runs on the device at a time
// (platform/install_lock.h).

#include <optional>
#include <string>

#include "platform/device_folder.h"

namespace wceload {

struct InstallResult {
    bool ok = false;
    std::string error;    // why the package was refused; empty when ok
    std::string appName;  // the package's AppName, once known
    std::string installDir;
    std::optional<platform::FileId> cab;  // the file installed from, once opened
};

// Installs the CAB at the device path. The CAB itself is left in place.
InstallResult InstallCab(const std::string& cabDevicePath);

}  // namespace wceload
