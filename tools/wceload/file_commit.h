#pragma once
// The file changes of one installation: planned against the device as it is, then carried out
// as the journaled steps of platform/install_journal.h (old files set aside into the staging
// folder, folders made, new files moved into place), relative to folder descriptors opened
// while planning. Nothing is resolved by path again after the plan: a folder swapped for a
// link meanwhile is never followed, and one replaced at all is found by Verify before the
// registry is written. Until Finish, destruction undoes every step that took effect.

#include <memory>
#include <string>
#include <vector>

#include "platform/install_journal.h"

namespace wceload {

class FileCommit {
  public:
    // `staging`: the installation's staging folder, which holds "files/..." and gets "backup/".
    explicit FileCommit(int staging);
    ~FileCommit();
    FileCommit(const FileCommit&) = delete;
    FileCommit& operator=(const FileCommit&) = delete;

    bool Open(std::string& error);

    // Planning, before anything moves:
    // An old file to set aside when it is there (a file of the revision being replaced);
    // skipped when it is missing, a folder, or reached only through a link.
    void SetAsideIfPresent(const std::string& devicePath);
    // A folder the package needs; every missing folder down to it is made. `prefixes` receives
    // each folder of the path (spelled as on the device, or as the package spells the ones it
    // makes) with whether it is made.
    struct Prefix {
        std::string path;
        bool made = false;
    };
    bool NeedFolder(const std::string& devicePath, std::vector<Prefix>& prefixes,
                    std::string& error);
    // A new file from the staging folder; what is at its path now is set aside first. `placed`
    // receives the device path as it will be spelled.
    bool Place(const std::string& stagedName, const std::string& devicePath, std::string& placed,
               std::string& error);

    // Writes the journal and carries out the steps, then checks that every folder used is
    // still the one at its path.
    bool Run(const std::string& appName, uint32_t commit, std::vector<std::string> abandoned,
             std::string& error);
    // Undoes the steps that took effect (also done by the destructor). False when a set-aside
    // file could not be put back; the staging folder must then be kept for a later recovery.
    bool Undo(std::string& error);
    // The registry holds the new record: abandoned folders go and the journal is deleted.
    void Finish();

  private:
    struct Folder;
    Folder* Resolve(const std::string& devicePath, bool create, std::vector<Prefix>* prefixes,
                    std::string& error);
    Folder* Child(Folder& parent, const std::string& name, bool create, std::string& error);

    int staging_;
    platform::UniqueFd root_;
    std::vector<std::unique_ptr<Folder>> folders_;
    std::vector<platform::JournalStep> setAsides_, makes_, places_;
    platform::InstallJournal journal_;
    std::unique_ptr<platform::CommitFolders> open_;
    std::unique_ptr<platform::CommitSteps> steps_;
    bool started_ = false;
};

}  // namespace wceload
