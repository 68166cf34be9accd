#include "tools/wceload/file_commit.h"

#include "platform/folder_index.h"
#include "platform/paths.h"

namespace wceload {
namespace fs = std::filesystem;

bool MoveEntry(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::rename(from, to, ec);
    if (ec != std::errc::cross_device_link) return !ec;
    ec.clear();
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove_all(to, ignored);
        return false;
    }
    fs::remove_all(from, ec);
    return !ec;
}

std::string SpelledDevicePath(const fs::path& hostPath) {
    std::string out;
    for (const fs::path& part : hostPath.lexically_relative(platform::DeviceRoot()))
        if (!part.empty() && part != ".") out += "\\" + part.string();
    return out.empty() ? "\\" : out;
}

FileCommit::FileCommit(fs::path backupFolder) : backupFolder_(std::move(backupFolder)) {}

FileCommit::~FileCommit() {
    Undo();
}

bool FileCommit::MakeFolder(const std::string& devicePath, std::vector<std::string>& created,
                            std::string& error) {
    std::string path;
    for (const std::string& part : platform::SplitDevicePath(devicePath)) {
        path += "\\" + part;
        fs::path host = platform::HostPath(path);
        std::error_code ec;
        fs::file_status status = fs::symlink_status(host, ec);
        if (fs::is_directory(status)) continue;
        if (fs::exists(status)) {
            error = path + " is a file, not a folder";
            return false;
        }
        if (!fs::create_directory(host, ec) || ec) {
            error = "cannot make the folder " + path + ": " + ec.message();
            return false;
        }
        platform::FolderIndex::NoteAdded(host);
        steps_.push_back({Kind::MadeFolder, host, {}});
        created.push_back(SpelledDevicePath(host));
    }
    return true;
}

bool FileCommit::MoveAway(const std::string& devicePath, std::string& error) {
    fs::path host = platform::HostPath(devicePath);
    std::error_code ec;
    fs::file_status status = fs::symlink_status(host, ec);
    if (!fs::exists(status)) return true;
    if (fs::is_directory(status)) {
        error = devicePath + " is a folder, not a file";
        return false;
    }
    fs::create_directories(backupFolder_, ec);
    fs::path backup = backupFolder_ / std::to_string(steps_.size());
    if (!MoveEntry(host, backup, ec)) {
        error = "cannot replace " + devicePath + ": " + ec.message();
        return false;
    }
    platform::FolderIndex::NoteRemoved(host);
    steps_.push_back({Kind::MovedAway, host, backup});
    return true;
}

bool FileCommit::Place(const fs::path& staged, const std::string& devicePath, std::string& placed,
                       std::string& error) {
    fs::path host = platform::HostPath(devicePath);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(host, ec))) {
        error = devicePath + " is in the way";
        return false;
    }
    if (!MoveEntry(staged, host, ec)) {
        error = "cannot write " + devicePath + ": " + ec.message();
        return false;
    }
    platform::FolderIndex::NoteAdded(host);
    steps_.push_back({Kind::Placed, host, {}});
    placed = SpelledDevicePath(host);
    return true;
}

void FileCommit::Undo() {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) {
        std::error_code ec;
        switch (it->kind) {
            case Kind::Placed:
                fs::remove(it->path, ec);
                platform::FolderIndex::NoteRemoved(it->path);
                break;
            case Kind::MovedAway:
                MoveEntry(it->backup, it->path, ec);
                platform::FolderIndex::NoteAdded(it->path);
                break;
            case Kind::MadeFolder:
                fs::remove(it->path, ec);  // empty again by now
                platform::FolderIndex::NoteRemoved(it->path);
                break;
        }
    }
    steps_.clear();
}

}  // namespace wceload
