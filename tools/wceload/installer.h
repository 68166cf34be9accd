#pragma once
// The installer stand-in's work: installing one CAB package on the emulated device.
//
// The package is checked whole before anything on the device changes: the archive, its
// _setup.xml (tools/wceload/install_document.h), every stored file it names and the place of
// everything it would write. Its files are extracted into a staging folder inside the device
// root, the setup library (if any) is asked through Install_Init, and then everything is
// committed: old files moved aside, folders made, new files moved into place, and every
// registry change (the old revision's entries removed, the package's values, the install
// record of platform/install_record.h) written in one transaction. A failure at any step
// undoes the steps before it, so the device is left exactly as it was. Install_Exit is called
// last. A reinstall over an installed package (same AppName) replaces it: the files, shortcuts,
// registry entries and folders of the old revision that the new one lacks are removed.
// Only one installation or removal runs on the device at a time (platform/install_lock.h).

#include <string>

namespace wceload {

struct InstallResult {
    bool ok = false;
    std::string error;    // why the package was refused; empty when ok
    std::string appName;  // the package's AppName, once known
    std::string installDir;
};

// Installs the CAB at the device path. The CAB itself is left in place.
InstallResult InstallCab(const std::string& cabDevicePath);

}  // namespace wceload
