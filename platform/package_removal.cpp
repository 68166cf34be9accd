#include "platform/package_removal.h"

#include <filesystem>
#include <memory>

#include "platform/debug.h"
#include "platform/folder_index.h"
#include "platform/install_record.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/setup_library_loader.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// Removes a recorded file; one that is gone already, or that has become a folder, is left, and
// so is one that a symbolic link on the device now puts outside the device root.
bool RemoveFile(const std::string& devicePath, std::string& error) {
    if (SplitDevicePath(devicePath).empty()) return true;
    fs::path host = HostPath(devicePath);
    if (!FolderInsideDeviceRoot(host)) return true;
    std::error_code ec;
    fs::file_status status = fs::symlink_status(host, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return true;
    if (fs::remove(host, ec) || !ec) return true;
    error = "cannot remove " + devicePath + ": " + ec.message();
    return false;
}

}  // namespace

void RemoveEmptyFolders(const std::vector<std::string>& folders) {
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        if (SplitDevicePath(*it).empty()) continue;
        std::error_code ec;
        fs::path host = HostPath(*it);
        if (!FolderInsideDeviceRoot(host)) continue;
        if (fs::is_directory(fs::symlink_status(host, ec)) && fs::is_empty(host, ec) && !ec &&
            fs::remove(host, ec))
            FolderIndex::NoteRemoved(host);
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
