#pragma once
// The file changes of one installation, each one undoable: folders made, files moved out of
// the way (into a backup folder on the same file system) and files moved into place. Until
// Keep() is called, destruction undoes every change in reverse order, so a failure at any
// step leaves the device's files as they were. Every entry it adds or removes is told to the
// thread's FolderIndex (platform/folder_index.h), so that lookups stay right without rereading.

#include <filesystem>
#include <string>
#include <vector>

namespace wceload {

class FileCommit {
  public:
    explicit FileCommit(std::filesystem::path backupFolder);
    ~FileCommit();
    FileCommit(const FileCommit&) = delete;
    FileCommit& operator=(const FileCommit&) = delete;

    // Makes the device folder and the missing ones above it. `created` receives the device
    // path of each folder made, parents first.
    bool MakeFolder(const std::string& devicePath, std::vector<std::string>& created,
                    std::string& error);
    // Moves the file at the device path (if there is one) into the backup folder.
    bool MoveAway(const std::string& devicePath, std::string& error);
    // Moves a staged host file to the device path, whose folder exists and which holds no
    // file now. `placed` receives the device path as spelled on the device.
    bool Place(const std::filesystem::path& staged, const std::string& devicePath,
               std::string& placed, std::string& error);

    // The installation is complete: nothing will be undone. The backups stay in the backup
    // folder for the caller to delete.
    void Keep() { steps_.clear(); }
    void Undo();

  private:
    enum class Kind { MadeFolder, MovedAway, Placed };
    struct Step {
        Kind kind;
        std::filesystem::path path;    // on the device (host path)
        std::filesystem::path backup;  // MovedAway: where it went
    };

    std::filesystem::path backupFolder_;
    std::vector<Step> steps_;
};

// Moves a file or folder; across file systems by copying and removing. False on failure, with
// nothing moved.
bool MoveEntry(const std::filesystem::path& from, const std::filesystem::path& to,
               std::error_code& ec);

// The device path of a host path that lies in the device root, spelled as on the device.
std::string SpelledDevicePath(const std::filesystem::path& hostPath);

}  // namespace wceload
