#pragma once
// Folders of the device held open by descriptor. A folder is reached from the device root one
// name at a time, each name opened with O_NOFOLLOW relative to the folder before it, so a
// symbolic link anywhere on the way is refused instead of followed; and once a folder is open,
// its descriptor keeps naming that very folder whatever is renamed or linked in its place
// afterwards. The installer places files, the downloads into the cabs folder are written and
// the installer deletes its CAB through these, so that no path resolved after a check can lead
// out of the device root.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An owned file descriptor, closed on destruction.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

// Which file an entry is: it stays the same across renames, so "still the file we opened"
// can be asked of a name.
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FileId&) const = default;
};
std::optional<FileId> IdOf(int fd);
// The entry `name` of the open folder itself (a link is not followed); none when it is missing.
std::optional<FileId> IdAt(int folder, const std::string& name);

// The device root (its own host path is the user's choice and may hold links).
UniqueFd OpenDeviceRoot();

// The names of one open folder, looked up without case as device paths compare: read once,
// then kept up to date by the caller through Added and Removed.
class FolderNames {
  public:
    FolderNames() = default;  // a folder that does not exist yet
    explicit FolderNames(int folder);
    // The exact name when an entry has it, else the entry matching without case; none when
    // no entry matches.
    std::optional<std::string> Find(std::string_view name) const;
    void Added(const std::string& name);
    void Removed(const std::string& name);

  private:
    std::map<std::string, std::vector<std::string>> byFolded_;
};

// The name of an entry of the open folder matching `name`: `name` itself when an entry has it
// exactly (no listing is read then), else as FolderNames finds it; `name` when none matches.
std::string SpellingIn(int folder, const std::string& name);

// Opens the child folder `name` of an open folder without following a link; invalid (with
// errno ELOOP or ENOTDIR for a link or a file, ENOENT for nothing) when it is not a folder.
UniqueFd OpenChildFolder(int folder, const std::string& name);

// Opens the device folder at the path beneath the root, matching names without case and
// following no link. `spelled` (may be null) receives the path as spelled on the device.
// Invalid, with errno set, when a name on the way is missing, a file or a link.
UniqueFd OpenDeviceFolder(std::string_view devicePath, std::string* spelled = nullptr);
// The same, from an open root, with every name spelled exactly.
UniqueFd OpenDeviceFolderExact(int root, const std::vector<std::string>& parts);

// A device path split into its folder and its last name; false for the root itself.
bool SplitDeviceFile(std::string_view devicePath, std::string& folder, std::string& name);

// Removes the device file when it is still the file `id`, reached beneath the root without
// links; `error` says why it was not.
bool RemoveDeviceFileIf(std::string_view devicePath, FileId id, std::string& error);

}  // namespace platform
