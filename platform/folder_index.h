#pragma once
// Case-insensitive name lookups in host folders, each folder read once.
//
// Resolving a device path (HostPath) finds the existing spelling of each component. Without an
// index a name that is not spelled exactly as on the device (every new file is such a name)
// costs a read of its whole folder, so placing n files in one folder reads n folders of up to n
// entries. A FolderIndex keeps each folder's names by their folded form instead. It is made
// current on one thread for a bounded piece of work during which nothing else changes the
// folders it looks at (one installation, under the install lock); whoever adds or removes
// entries meanwhile tells it through NoteAdded / NoteRemoved, and code it cannot watch (a
// package's setup library) is followed by Forget().

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

class FolderIndex {
  public:
    // Makes the index current on this thread until it is destroyed.
    FolderIndex();
    ~FolderIndex();
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // The index current on this thread, or null.
    static FolderIndex* Current();
    // Tell the current index (if any) that an entry appeared at / vanished from the host path.
    static void NoteAdded(const std::filesystem::path& hostPath);
    static void NoteRemoved(const std::filesystem::path& hostPath);

    // The spelling of an entry of the folder whose name folds as `name` does; none when the
    // folder holds no such entry (or cannot be read).
    std::optional<std::string> Spelling(const std::filesystem::path& folder,
                                        const std::string& name);
    // Drops everything read so far: folders are read again when next asked.
    void Forget() { folders_.clear(); }

  private:
    // Folded name -> the spellings present (a case-sensitive host may hold several).
    using Names = std::unordered_map<std::string, std::vector<std::string>>;

    Names* Read(const std::filesystem::path& folder);
    // The folder's names when they have been read; null otherwise.
    Names* Known(const std::filesystem::path& folder);

    std::unordered_map<std::string, Names> folders_;  // by host folder path
    FolderIndex* previous_;
};

}  // namespace platform
