#include "platform/package_removal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/debug.h"
#include "platform/device_folder.h"
#include "platform/install_record.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/setup_library_loader.h"

namespace platform {

namespace {

// An entry of a recorded device path: its folder opened beneath the root without following a
// link, and its name as spelled there. False when the folder cannot be reached that way (gone,
// or behind a link that may lead out of the device).
bool Reach(const std::string& devicePath, UniqueFd& folder, std::string& name) {
    std::string folderPath;
    if (!SplitDeviceFile(devicePath, folderPath, name)) return false;
    folder = OpenDeviceFolder(folderPath);
    if (!folder.Valid()) return false;
    name = SpellingIn(folder.Get(), name);
    return true;
}

// Removes a recorded file; one that is gone already, or that has become a folder, is left, and
// so is one that a symbolic link on the device now puts outside the device root.
bool RemoveFile(const std::string& devicePath, std::string& error) {
    UniqueFd folder;
    std::string name;
    struct stat st;
    if (!Reach(devicePath, folder, name) ||
        fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
        return true;
    if (unlinkat(folder.Get(), name.c_str(), 0) == 0 || errno == ENOENT) return true;
    error = "cannot remove " + devicePath + ": " + std::strerror(errno);
    return false;
}

}  // namespace

void RemoveEmptyFolders(const std::vector<std::string>& folders) {
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        UniqueFd parent;
        std::string name;
        if (Reach(*it, parent, name)) unlinkat(parent.Get(), name.c_str(), AT_REMOVEDIR);
    }
}

RemovalResult RemoveInstalledPackage(std::string_view appName, bool callSetupLibrary,
                                     std::string& error) {
    InstallRecord record;
    RegResult read = ReadInstallRecord(appName, record);
    if (read == RegResult::NotFound) {
        error = "\"" + std::string(appName) + "\" is not installed";
        return RemovalResult::NotInstalled;
    }
    if (read != RegResult::Ok) {
        error = "the registry cannot be read: " + RegistryError();
        return RemovalResult::Unreadable;
    }

    std::unique_ptr<SetupLibrary> library;
    if (callSetupLibrary && !record.setupLibrary.empty()) {
        std::string why;
        library = SetupLibrary::Load(HostPath(record.setupLibrary), why);
        if (!library)
            DebugPrintf("uninstall %s without its setup library: %s\n", record.appName.c_str(),
                        why.c_str());
        if (library && !library->UninstallInit(record.installDir)) {
            error = "the setup library of \"" + record.appName + "\" cancelled the removal";
            return RemovalResult::Cancelled;
        }
    }

    OtherRecords others = ReadOtherRecords(record.appName);
    std::vector<std::string> files = record.files;
    for (const RecordedShortcut& shortcut : record.shortcuts)
        files.push_back(shortcut.path);
    for (const std::string& file : files)
        if (!others.HasFile(file) && !RemoveFile(file, error)) return RemovalResult::Failed;

    RegTransaction transaction;
    if (!transaction.Active() || RemoveRecordedRegistry(record, others) != RegResult::Ok ||
        !transaction.Commit()) {
        error =
            "cannot remove the registry entries of \"" + record.appName + "\": " + RegistryError();
        return RemovalResult::Failed;
    }

    if (library) library->UninstallExit();
    library.reset();
    if (!record.setupLibrary.empty() && !others.HasFile(record.setupLibrary))
        RemoveFile(record.setupLibrary, error);
    std::vector<std::string> folders;
    for (const std::string& folder : record.folders)
        if (!others.HasFolder(folder)) folders.push_back(folder);
    RemoveEmptyFolders(folders);
    error.clear();
    return RemovalResult::Removed;
}

}  // namespace platform
