#include "tools/wceload/file_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "platform/paths.h"

namespace wceload {
namespace fs = std::filesystem;
using platform::JournalStep;

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    return (folder == "\\" ? "" : folder) + "\\" + name;
}

}  // namespace

// A folder of the plan: one of the device (held open) or one the commit makes.
struct FileCommit::Folder {
    std::string path;       // as spelled on the device, "\" for the root
    platform::UniqueFd fd;  // invalid for a folder to be made
    std::unique_ptr<platform::FolderNames> names;
    std::map<std::string, Folder*> children;  // by exact name

    platform::FolderNames& Names() {
        if (!names)
            names = fd.Valid() ? std::make_unique<platform::FolderNames>(fd.Get())
                               : std::make_unique<platform::FolderNames>();
        return *names;
    }
    bool OnDevice() const { return fd.Valid(); }
};

FileCommit::FileCommit(int staging) : staging_(staging) {}

FileCommit::~FileCommit() {
    std::string ignored;
    Undo(ignored);
}

bool FileCommit::Open(std::string& error) {
    root_ = platform::OpenDeviceRoot();
    if (!root_.Valid() || (mkdirat(staging_, "backup", 0700) != 0 && errno != EEXIST)) {
        error = "cannot open the device root";
        return false;
    }
    auto root = std::make_unique<Folder>();
    root->path = "\\";
    root->fd = platform::UniqueFd(openat(root_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    folders_.push_back(std::move(root));
    return true;
}

FileCommit::Folder* FileCommit::Child(Folder& parent, const std::string& part, bool create,
                                      std::string& error) {
    std::optional<std::string> existing = parent.Names().Find(part);
    std::string name = existing.value_or(part);
    if (auto it = parent.children.find(name); it != parent.children.end()) return it->second;
    std::string path = Join(parent.path, name);
    auto folder = std::make_unique<Folder>();
    folder->path = path;
    if (existing) {
        if (!parent.OnDevice()) {
            error = path + " is a file, not a folder";
            return nullptr;
        }
        struct stat st;
        bool link = fstatat(parent.fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                    S_ISLNK(st.st_mode);
        folder->fd = platform::OpenChildFolder(parent.fd.Get(), name);
        if (!folder->fd.Valid()) {
            int why = errno;
            error = link ? path + " is a symbolic link, which the installer never follows"
                    : why == ENOTDIR ? path + " is a file, not a folder"
                                     : "cannot open the folder " + path + ": " + std::strerror(why);
            return nullptr;
        }
    } else {
        if (!create) {
            error = path + " does not exist";
            return nullptr;
        }
        makes_.push_back({JournalStep::Kind::MakeFolder, path, ""});
        parent.Names().Added(name);
    }
    Folder* child = folder.get();
    parent.children[name] = child;
    folders_.push_back(std::move(folder));
    return child;
}

FileCommit::Folder* FileCommit::Resolve(const std::string& devicePath, bool create,
                                        std::vector<Prefix>* prefixes, std::string& error) {
    Folder* folder = folders_.front().get();
    for (const std::string& part : platform::SplitDevicePath(devicePath)) {
        folder = Child(*folder, part, create, error);
        if (!folder) return nullptr;
        if (prefixes) prefixes->push_back({folder->path, !folder->OnDevice()});
    }
    return folder;
}

void FileCommit::SetAsideIfPresent(const std::string& devicePath) {
    std::string folderPath, name, ignored;
    if (!platform::SplitDeviceFile(devicePath, folderPath, name)) return;
    Folder* folder = Resolve(folderPath, false, nullptr, ignored);
    if (!folder || !folder->OnDevice()) return;
    std::optional<std::string> existing = folder->Names().Find(name);
    if (!existing || folder->children.count(*existing)) return;
    struct stat st;
    if (fstatat(folder->fd.Get(), existing->c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISDIR(st.st_mode))
        return;
    std::string stored = "backup/" + std::to_string(setAsides_.size());
    setAsides_.push_back({JournalStep::Kind::SetAside, Join(folder->path, *existing), stored});
    folder->Names().Removed(*existing);
}

bool FileCommit::NeedFolder(const std::string& devicePath, std::vector<Prefix>& prefixes,
                            std::string& error) {
    return Resolve(devicePath, true, &prefixes, error) != nullptr;
}

bool FileCommit::Place(const std::string& stagedName, const std::string& devicePath,
                       std::string& placed, std::string& error) {
    std::string folderPath, name;
    if (!platform::SplitDeviceFile(devicePath, folderPath, name)) {
        error = "the device root is not a file";
        return false;
    }
    Folder* folder = Resolve(folderPath, true, nullptr, error);
    if (!folder) return false;
    if (std::optional<std::string> existing = folder->Names().Find(name)) {
        struct stat st;
        bool isFolder =
            folder->children.count(*existing) ||
            (folder->OnDevice() &&
             fstatat(folder->fd.Get(), existing->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
             S_ISDIR(st.st_mode));
        if (isFolder || !folder->OnDevice()) {
            error = Join(folder->path, *existing) +
                    (isFolder ? " is a folder, not a file" : " is named twice");
            return false;
        }
        SetAsideIfPresent(Join(folder->path, *existing));
    }
    placed = Join(folder->path, name);
    places_.push_back({JournalStep::Kind::Place, placed, stagedName});
    folder->Names().Added(name);
    return true;
}

bool FileCommit::Run(const std::string& appName, uint32_t commit,
                     std::vector<std::string> abandoned, std::string& error) {
    journal_.appName = appName;
    journal_.commit = commit;
    journal_.abandoned = std::move(abandoned);
    for (auto* list : {&setAsides_, &makes_, &places_})
        journal_.steps.insert(journal_.steps.end(), list->begin(), list->end());
    open_ = std::make_unique<platform::CommitFolders>(root_.Get());
    for (auto& folder : folders_)
        if (folder->OnDevice()) open_->Add(folder->path, std::move(folder->fd));
    steps_ = std::make_unique<platform::CommitSteps>(journal_, staging_, *open_);
    started_ = true;
    return steps_->Run(error) && open_->Verify(error);
}

bool FileCommit::Undo(std::string& error) {
    if (!started_) return true;
    started_ = false;
    if (!steps_->Undo(error)) return false;
    unlinkat(staging_, platform::kJournalFile, 0);
    return true;
}

void FileCommit::Finish() {
    platform::CommitPoint("abandon");
    steps_->RemoveAbandoned();
    platform::CommitPoint("finish");
    unlinkat(staging_, platform::kJournalFile, 0);
    started_ = false;
}

}  // namespace wceload
