#include "platform/folder_index.h"

#include <algorithm>

#include "platform/text.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

thread_local FolderIndex* current = nullptr;

std::string Key(const fs::path& folder) {
    return folder.lexically_normal().string();
}

bool Present(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

FolderIndex::FolderIndex() : previous_(current) {
    current = this;
}

FolderIndex::~FolderIndex() {
    current = previous_;
}

FolderIndex* FolderIndex::Current() {
    return current;
}

FolderIndex::Names* FolderIndex::Known(const fs::path& folder) {
    auto it = folders_.find(Key(folder));
    return it == folders_.end() ? nullptr : &it->second;
}

FolderIndex::Names* FolderIndex::Read(const fs::path& folder) {
    Names names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    // A folder that cannot be read (not there yet) is not remembered: it is read again once
    // it exists.
    if (ec) return nullptr;
    for (; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        names[FoldCase(name)].push_back(std::move(name));
    }
    if (ec) return nullptr;
    return &(folders_[Key(folder)] = std::move(names));
}

std::optional<std::string> FolderIndex::Spelling(const fs::path& folder, const std::string& name) {
    std::string folded = FoldCase(name);
    Names* names = Known(folder);
    bool fresh = names == nullptr;
    if (fresh && !(names = Read(folder))) return std::nullopt;
    auto it = names->find(folded);
    if (it == names->end() || it->second.empty()) return std::nullopt;
    // An entry that went without word is noticed here: the folder is read again once.
    if (Present(folder / it->second.front())) return it->second.front();
    if (fresh || !(names = Read(folder))) return std::nullopt;
    it = names->find(folded);
    if (it == names->end() || it->second.empty()) return std::nullopt;
    return it->second.front();
}

void FolderIndex::NoteAdded(const fs::path& hostPath) {
    if (!current) return;
    Names* names = current->Known(hostPath.parent_path());
    if (!names) return;  // read in full when first asked
    std::string name = hostPath.filename().string();
    std::vector<std::string>& spellings = (*names)[FoldCase(name)];
    if (std::find(spellings.begin(), spellings.end(), name) == spellings.end())
        spellings.push_back(std::move(name));
}

void FolderIndex::NoteRemoved(const fs::path& hostPath) {
    if (!current) return;
    current->folders_.erase(Key(hostPath));  // when it was a folder, its names went with it
    Names* names = current->Known(hostPath.parent_path());
    if (!names) return;
    std::string name = hostPath.filename().string();
    auto it = names->find(FoldCase(name));
    if (it == names->end()) return;
    std::erase(it->second, name);
    if (it->second.empty()) names->erase(it);
}

}  // namespace platform
