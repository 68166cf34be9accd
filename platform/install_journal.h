#pragma once
// The installer's commit journal: what makes an installation all-or-nothing even when the
// installer is killed or the power fails in the middle of it.
//
// An installation works in a staging folder of the device root, "<root>/.wceload-XXXXXX":
// the package's files are extracted to "files/" (and "setup.so"), and the files it replaces
// are set aside into "backup/". Before the first file on the device moves, the installer
// writes the intent record "journal" into that folder (to a temporary file, flushed, renamed
// into place, the folder flushed): the package's AppName, the commit number, and every step in
// the order it will be carried out:
//
//   set-aside  <device file>  <name in the staging folder>   an old file moved into backup/
//   make       <device folder>                                a folder made
//   place      <device file>  <name in the staging folder>   a new file moved into place
//   abandon    <device folder>   a folder of the replaced revision, removed when empty at the end
//
// Device paths are spelled exactly as on the device. Every step is one rename (or mkdir)
// relative to folder descriptors (platform/device_folder.h), so at any moment each step has
// either happened or not, and which can be told from the staging folder: a set-aside happened
// when its backup exists, a placement when its staged file has gone.
//
// The point of no return is the registry transaction that writes the new install record: it
// carries the value "InstallCommit" (the commit number, one more than the replaced record's)
// in the same transaction. After it, the set-aside files are deleted, abandoned folders
// removed, and the journal and staging folder deleted.
//
// Recovery (RecoverInterruptedInstall) runs first in every run of the installer and of the
// configuration manager, under the install lock. A staging folder with a journal belongs to an
// interrupted commit: when the package's record carries the journal's commit number the commit
// is rolled forward (only the clean-up above is left); otherwise it is rolled back: every
// placement that happened is moved back into the staging folder, every set-aside file moved
// back to its place, every folder made removed when empty, last step first. Each undo step is
// itself one rename, so a recovery that is interrupted too is simply run again. Only then is
// the staging folder deleted; a recovery that cannot finish (a folder on the way has become a
// link, say) keeps the journal and every set-aside file and refuses to go on until it can.
// Staging folders without a journal hold nothing but extracted files and are deleted.
//
// The setup library's Install_Exit belongs to the installer run that was interrupted and is
// not called by a recovery.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device_folder.h"

namespace platform {

inline constexpr const char* kStagingPrefix = ".wceload-";
inline constexpr const char* kJournalFile = "journal";
inline constexpr const char* kCommitValue = "InstallCommit";

struct JournalStep {
    enum class Kind { SetAside, MakeFolder, Place };
    Kind kind = Kind::Place;
    std::string path;    // on the device, spelled exactly
    std::string stored;  // SetAside, Place: the file's path in the staging folder ("files/0")
};

struct InstallJournal {
    std::string appName;
    uint32_t commit = 0;
    std::vector<JournalStep> steps;
    std::vector<std::string> abandoned;
};

std::string FormatJournal(const InstallJournal& journal);
// False when the text is not a whole journal.
bool ParseJournal(std::string_view text, InstallJournal& journal);

// The folders a commit works in, by device path: those opened while planning, and the rest
// opened beneath the root (exact names, no link followed) when first asked for.
class CommitFolders {
  public:
    explicit CommitFolders(int root) : root_(root) {}
    void Add(const std::string& devicePath, UniqueFd folder);
    // -1 when the folder cannot be reached.
    int Get(const std::string& devicePath);
    // Every folder held is still the one at its path.
    bool Verify(std::string& error);

  private:
    int root_;
    std::map<std::string, UniqueFd> open_;  // by folded device path
};

// Carries out the journaled steps in order and undoes the ones that took effect.
class CommitSteps {
  public:
    CommitSteps(const InstallJournal& journal, int staging, CommitFolders& folders)
        : journal_(journal), staging_(staging), folders_(folders) {}

    // Writes the journal durably into the staging folder, then carries out every step,
    // passing a commit point before each. False (with `error`) at the first failure; the
    // caller then calls Undo.
    bool Run(std::string& error);
    // Undoes every step that took effect, last first; each undo is one rename or rmdir, so
    // calling it again after an interruption is safe. False when a set-aside file cannot be
    // put back, which then stays in the staging folder.
    bool Undo(std::string& error);
    // After the registry commit: removes the abandoned folders that are empty.
    void RemoveAbandoned();

  private:
    bool Do(const JournalStep& step, std::string& error);
    bool UndoStep(const JournalStep& step, std::string& error);

    const InstallJournal& journal_;
    int staging_;
    CommitFolders& folders_;
};

// Flushes the folder's entries to disk.
void SyncFolder(int folder);

// A point between two steps of a commit or of its undoing. A test may end the process here: with
// ZENTRI_INSTALL_FAULT=N in the environment the N-th commit point of the process kills it with
// SIGKILL, as a crash would. The hook (tests in the same process) is called first.
void CommitPoint(std::string_view step);
void SetCommitHook(std::function<void(std::string_view step)> hook);

// Finishes or undoes an interrupted commit and removes stale staging folders, as described
// above. The caller holds the InstallLock. False (with `error`) when an interrupted commit
// could not be finished or undone; nothing else may then be installed or removed.
bool RecoverInterruptedInstall(std::string& error);

}  // namespace platform
