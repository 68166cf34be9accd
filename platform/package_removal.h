#pragma once
// Removing an installed package as the installer recorded it (platform/install_record.h).
// The configuration manager's "UnInstall" uses it, and the installer when a package's setup
// library asks for its own removal.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RemovalResult {
    Removed,
    NotInstalled,  // no record of that name; nothing changed
    Cancelled,     // the setup library's Uninstall_Init refused; nothing changed
    Failed,        // a file or the registry could not be changed; `error` says which
    Unreadable,    // the registry cannot be read (a damaged database); nothing changed
};

// Removes the package: with `callSetupLibrary`, its setup library's Uninstall_Init first
// (a library that cannot be loaded any more is skipped); then its files and shortcuts, its
// registry values and keys with its install key (in one registry transaction), the setup
// library's Uninstall_Exit, the kept library file, and last the recorded folders that are empty.
// What another installed package also records stays (platform/install_record.h, OtherRecords).
// A file that cannot be removed stops the removal before the registry is touched, so the
// record stays and a later removal finishes the job (files already gone are no failure).
// The caller holds the InstallLock.
RemovalResult RemoveInstalledPackage(std::string_view appName, bool callSetupLibrary,
                                     std::string& error);

// Removes each of the device folders that is empty, the last first (children are recorded
// after their parents), never the device root.
void RemoveEmptyFolders(const std::vector<std::string>& folders);

}  // namespace platform
