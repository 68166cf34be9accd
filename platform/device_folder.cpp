#include "platform/device_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform {

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

std::optional<FileId> IdOf(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0) return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

std::optional<FileId> IdAt(int folder, const std::string& name) {
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

UniqueFd OpenDeviceRoot() {
    return UniqueFd(open(DeviceRoot().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

FolderNames::FolderNames(int folder) {
    // A descriptor of its own: readdir moves the offset, and closedir closes what it reads.
    int own = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = own >= 0 ? fdopendir(own) : nullptr;
    if (!dir) {
        if (own >= 0) close(own);
        return;
    }
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") Added(name);
    }
    closedir(dir);
}

std::optional<std::string> FolderNames::Find(std::string_view name) const {
    auto it = byFolded_.find(FoldCase(name));
    if (it == byFolded_.end() || it->second.empty()) return std::nullopt;
    for (const std::string& candidate : it->second)
        if (candidate == name) return candidate;
    return it->second.front();
}

void FolderNames::Added(const std::string& name) {
    std::vector<std::string>& names = byFolded_[FoldCase(name)];
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

void FolderNames::Removed(const std::string& name) {
    auto it = byFolded_.find(FoldCase(name));
    if (it == byFolded_.end()) return;
    std::erase(it->second, name);
}

std::string SpellingIn(int folder, const std::string& name) {
    if (IdAt(folder, name)) return name;
    return FolderNames(folder).Find(name).value_or(name);
}

UniqueFd OpenChildFolder(int folder, const std::string& name) {
    return UniqueFd(openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

UniqueFd OpenDeviceFolder(std::string_view devicePath, std::string* spelled) {
    UniqueFd folder = OpenDeviceRoot();
    std::string path;
    for (const std::string& part : SplitDevicePath(devicePath)) {
        if (!folder.Valid()) break;
        std::string name = SpellingIn(folder.Get(), part);
        folder = OpenChildFolder(folder.Get(), name);
        path += "\\" + name;
    }
    if (spelled) *spelled = path.empty() ? "\\" : path;
    return folder;
}

UniqueFd OpenDeviceFolderExact(int root, const std::vector<std::string>& parts) {
    UniqueFd folder(openat(root, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& part : parts) {
        if (!folder.Valid()) break;
        folder = OpenChildFolder(folder.Get(), part);
    }
    return folder;
}

bool SplitDeviceFile(std::string_view devicePath, std::string& folder, std::string& name) {
    std::vector<std::string> parts = SplitDevicePath(devicePath);
    if (parts.empty()) return false;
    name = parts.back();
    folder.clear();
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        folder += "\\" + parts[i];
    if (folder.empty()) folder = "\\";
    return true;
}

bool RemoveDeviceFileIf(std::string_view devicePath, FileId id, std::string& error) {
    std::string folderPath, name;
    if (!SplitDeviceFile(devicePath, folderPath, name)) {
        error = "it is the device root";
        return false;
    }
    UniqueFd folder = OpenDeviceFolder(folderPath);
    if (!folder.Valid()) {
        error = "its folder cannot be reached on the device without following a link (" +
                std::string(std::strerror(errno)) + ")";
        return false;
    }
    name = SpellingIn(folder.Get(), name);
    if (IdAt(folder.Get(), name) != id) {
        error = "it is not the file that was installed from any more";
        return false;
    }
    if (unlinkat(folder.Get(), name.c_str(), 0) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace platform
