#include "tools/wceload/installer.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "platform/device_folder.h"
#include "platform/folder_index.h"
#include "platform/install_journal.h"
#include "platform/install_lock.h"
#include "platform/install_record.h"
#include "platform/package_removal.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/setup_library_loader.h"
#include "platform/shortcut.h"
#include "platform/text.h"
#include "tools/wceload/cab_archive.h"
#include "tools/wceload/device_names.h"
#include "tools/wceload/file_commit.h"
#include "tools/wceload/install_document.h"

namespace wceload {
namespace fs = std::filesystem;

namespace {

constexpr const char* kSetupDocument = "_setup.xml";
constexpr uint64_t kMaxSetupDocument = 1 << 20;
constexpr const char* kSetupLibraryFolder = "\\Windows\\AppMgr";
constexpr const char* kStagedLibrary = "setup.so";

// A folder of the device root that holds one installation's extracted files and set-aside
// files, opened once; its files are reached through the descriptor ("/proc/self/fd/N/..."), so
// that a link put in its place meanwhile is not followed. It is removed with everything in it
// when the installation ends, unless it holds the journal of a commit that could not be
// undone: that is left to the recovery of the next run (platform/install_journal.h).
class Staging {
  public:
    bool Create(std::string& error) {
        std::string pattern =
            (platform::DeviceRoot() / (std::string(platform::kStagingPrefix) + "XXXXXX")).string();
        platform::UniqueFd root = platform::OpenDeviceRoot();
        if (!root.Valid() || !mkdtemp(pattern.data())) {
            error = "cannot make a staging folder in the device root";
            return false;
        }
        hostPath_ = pattern;
        fd_ = platform::OpenChildFolder(root.Get(), hostPath_.filename().string());
        if (!fd_.Valid()) {
            error = "the staging folder was replaced";
            return false;
        }
        fs::path byDescriptor = "/proc/self/fd/" + std::to_string(fd_.Get());
        std::error_code ec;
        path_ = fs::is_directory(byDescriptor, ec) ? byDescriptor : hostPath_;
        return true;
    }
    ~Staging() {
        std::error_code ec;
        if (hostPath_.empty() || (fd_.Valid() && platform::IdAt(fd_.Get(), platform::kJournalFile)))
            return;
        fs::remove_all(hostPath_, ec);
    }
    const fs::path& Path() const { return path_; }
    int Fd() const { return fd_.Get(); }

  private:
    fs::path hostPath_;
    fs::path path_;
    platform::UniqueFd fd_;
};

// Where a package's setup library is kept for its removal: one file per AppName. Names are
// made safe for a file name; a hash of the exact name keeps similar names apart.
std::string SetupLibraryPath(const std::string& appName) {
    uint32_t hash = 2166136261u;
    std::string safe;
    for (unsigned char c : appName) {
        hash = (hash ^ c) * 16777619u;
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == ' ' || c == '-' || c == '_';
        if (safe.size() < 64) safe += plain ? static_cast<char>(c) : '_';
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%08x.so", hash);
    return std::string(kSetupLibraryFolder) + "\\" + safe + suffix;
}

std::string ParentFolder(const std::string& devicePath) {
    size_t slash = devicePath.rfind('\\');
    return slash == 0 ? "\\" : devicePath.substr(0, slash);
}

// Registry key paths split at backslashes only ("/" is an ordinary character in key names).
std::vector<std::string> SplitKey(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// A device path as lists of paths compare them: its components joined, case folded.
std::string FoldedDevicePath(const std::string& path) {
    std::string folded;
    for (const std::string& part : platform::SplitDevicePath(path))
        folded += "\\" + platform::FoldCase(part);
    return folded;
}

// Device paths in order, each once (compared as the device compares them).
class PathList {
  public:
    PathList() = default;
    explicit PathList(const std::vector<std::string>& paths) {
        for (const std::string& p : paths)
            Add(p);
    }
    bool Contains(const std::string& path) const { return folded_.count(FoldedDevicePath(path)); }
    void Add(const std::string& path) {
        if (folded_.insert(FoldedDevicePath(path)).second) paths_.push_back(path);
    }
    const std::vector<std::string>& Paths() const { return paths_; }

  private:
    std::vector<std::string> paths_;
    std::unordered_set<std::string> folded_;
};

class Installation {
  public:
    InstallResult Run(const std::string& cabDevicePath) {
        platform::InstallLock lock;
        std::string error;
        if (!platform::RecoverInterruptedInstall(error)) {
            Fail(error);
            return result_;
        }
        if (Prepare(cabDevicePath) && CheckPlaces() && Stage() && AskSetupLibrary() && Commit())
            Finish();
        return result_;
    }

  private:
    bool Fail(const std::string& why) {
        result_.ok = false;
        result_.error = why;
        return false;
    }

    bool Prepare(const std::string& cabDevicePath) {
        if (platform::SplitDevicePath(cabDevicePath).empty()) return Fail("no CAB file named");
        fs::path host = platform::HostPath(cabDevicePath);
        std::error_code ec;
        if (!fs::is_regular_file(host, ec)) return Fail(cabDevicePath + " does not exist");
        std::string error;
        cab_ = CabArchive::Open(host, error);
        if (!cab_) return Fail(error);
        struct stat st;
        if (stat(host.c_str(), &st) == 0) result_.cab = platform::FileId{st.st_dev, st.st_ino};
        if (!staging_.Create(error)) return Fail(error);

        int setup = cab_->Find(kSetupDocument);
        if (setup == -1 && HasBinaryManifest())
            return Fail(
                "the package's format (a binary *.000 manifest instead of _setup.xml) "
                "is not supported yet");
        if (setup == -1) return Fail("the package holds no _setup.xml");
        if (setup == -2) return Fail("the package holds several _setup.xml");
        if (cab_->Entries()[setup].length > kMaxSetupDocument)
            return Fail("the package's _setup.xml is too large");
        fs::path document = staging_.Path() / kSetupDocument;
        if (!cab_->Extract(setup, document, error)) return Fail(error);
        std::ifstream in(document, std::ios::binary);
        std::ostringstream xml;
        xml << in.rdbuf();
        if (!ReadInstallDocument(xml.str(), plan_, error)) return Fail(error);
        result_.appName = plan_.appName;
        result_.installDir = plan_.installDir;
        if (!plan_.setupLibrary.empty()) libraryPath_ = SetupLibraryPath(plan_.appName);
        return StoredFilesPresent();
    }

    // Packages built for the handset's own installer carry a binary manifest, a stored file
    // named "*.000", instead of _setup.xml.
    bool HasBinaryManifest() const {
        for (const CabArchive::Entry& entry : cab_->Entries())
            if (entry.name.size() > 4 &&
                platform::EqualsNoCase(entry.name.substr(entry.name.size() - 4), ".000"))
                return true;
        return false;
    }

    bool StoredFilesPresent() {
        std::vector<std::string> sources;
        for (const PlannedFile& f : plan_.files)
            sources.push_back(f.source);
        if (!plan_.setupLibrary.empty()) sources.push_back(plan_.setupLibrary);
        uint64_t total = 0;
        for (const std::string& source : sources) {
            int index = cab_->Find(source);
            if (index == -1)
                return Fail("_setup.xml names the stored file " + source +
                            ", which the package does not hold");
            if (index == -2) return Fail("the package holds several files named " + source);
            total += cab_->Entries()[index].length;
        }
        std::error_code ec;
        fs::space_info space = fs::space(platform::DeviceRoot(), ec);
        if (!ec && total > space.available) return Fail("the device has not enough free space");
        return true;
    }

    // Every place the package writes: no folder where a file goes, nothing outside the root.
    bool CheckPlaces() {
        platform::FolderIndex index;  // its folders are read once, not once per file
        std::vector<std::string> files;
        for (const auto& f : plan_.files)
            files.push_back(f.path);
        for (const auto& s : plan_.shortcuts)
            files.push_back(s.path);
        if (!libraryPath_.empty()) files.push_back(libraryPath_);
        std::error_code ec;
        for (const std::string& path : files) {
            fs::path host = platform::HostPath(path);
            if (fs::is_directory(fs::symlink_status(host, ec)))
                return Fail(path + " is a folder on the device, not a file");
            if (!platform::FolderInsideDeviceRoot(host))
                return Fail(path + " lies outside the device");
        }
        for (const std::string& folder : plan_.folders)
            if (!platform::FolderInsideDeviceRoot(platform::HostPath(folder) / "x"))
                return Fail(folder + " lies outside the device");
        return true;
    }

    // Extracts the package's files into the staging folder; their names there ("files/0")
    // are what the journal records.
    bool Stage() {
        std::string error;
        fs::path files = staging_.Path() / "files";
        std::error_code made;
        if (!fs::create_directories(files, made)) return Fail("cannot stage the package's files");
        for (size_t i = 0; i < plan_.files.size(); ++i) {
            std::string name = "files/" + std::to_string(i);
            fs::path out = staging_.Path() / name;
            if (!cab_->Extract(cab_->Find(plan_.files[i].source), out, error)) return Fail(error);
            bool exe = IsExecutableName(plan_.files[i].path);
            std::error_code ec;
            fs::permissions(out, exe ? fs::perms(0755) : fs::perms(0644), ec);
            staged_.push_back(name);
        }
        for (size_t i = 0; i < plan_.shortcuts.size(); ++i) {
            std::string name = "files/shortcut-" + std::to_string(i);
            std::ofstream stream(staging_.Path() / name, std::ios::binary);
            stream << platform::FormatShortcut(plan_.shortcuts[i].target);
            if (!stream.flush())
                return Fail("cannot stage the shortcut " + plan_.shortcuts[i].path);
            stagedShortcuts_.push_back(name);
        }
        if (!plan_.setupLibrary.empty()) {
            fs::path library = staging_.Path() / kStagedLibrary;
            if (!cab_->Extract(cab_->Find(plan_.setupLibrary), library, error)) return Fail(error);
            std::error_code ec;
            fs::permissions(library, fs::perms(0755), ec);
        }
        return true;
    }

    bool AskSetupLibrary() {
        previouslyInstalled_ =
            platform::ReadInstallRecord(plan_.appName, old_) == platform::RegResult::Ok;
        platform::RegKey key;
        if (previouslyInstalled_ && platform::RegKey::Open(platform::InstallKeyPath(plan_.appName),
                                                           key) == platform::RegResult::Ok)
            key.QueryDword(platform::kCommitValue, oldCommit_);
        if (plan_.setupLibrary.empty()) return true;
        std::string error;
        library_ = platform::SetupLibrary::Load(staging_.Path() / kStagedLibrary, error);
        if (!library_) return Fail(error);
        if (!library_->InstallInit(previouslyInstalled_, plan_.installDir))
            return Fail("the package's setup library cancelled the installation");
        return true;
    }

    // The files are moved as journaled steps (tools/wceload/file_commit.h); the registry
    // transaction that writes the record with its new commit number is the point of no return.
    bool Commit() {
        // The commit reaches folders through its own descriptors and names, read once each.
        FileCommit files(staging_.Fd());
        std::string error;
        platform::InstallRecord record;
        record.appName = plan_.appName;
        record.installDir = plan_.installDir;
        others_ = platform::ReadOtherRecords(plan_.appName);
        if (!files.Open(error)) return Fail(error);
        SetOldFilesAside(files);
        if (!PlanFolders(files, record, error) || !PlanFiles(files, record, error))
            return Fail(error);
        std::vector<std::string> abandoned;
        PathList kept(record.folders);
        for (const std::string& folder : old_.folders)
            if (!kept.Contains(folder) && !others_.HasFolder(folder)) abandoned.push_back(folder);
        uint32_t commit = oldCommit_ + 1;
        if (!files.Run(plan_.appName, commit, abandoned, error)) return Undo(files, error);

        platform::CommitPoint("registry");
        platform::RegTransaction transaction;
        bool written = transaction.Active() &&
                       (!previouslyInstalled_ || platform::RemoveRecordedRegistry(old_, others_) ==
                                                     platform::RegResult::Ok) &&
                       ApplyRegistry(record) &&
                       platform::WriteInstallRecord(record) == platform::RegResult::Ok &&
                       MarkCommit(commit) && transaction.Commit();
        if (!written) return Undo(files, "cannot write the registry: " + platform::RegistryError());
        files.Finish();
        return true;
    }

    bool Undo(FileCommit& files, const std::string& why) {
        std::string error;
        if (!files.Undo(error))
            return Fail(why + "; undoing it failed too (" + error +
                        "), the next run of the installer tries again");
        return Fail(why);
    }

    bool MarkCommit(uint32_t commit) {
        platform::RegKey key;
        return platform::RegKey::Open(platform::InstallKeyPath(plan_.appName), key) ==
                   platform::RegResult::Ok &&
               key.SetDword(platform::kCommitValue, commit) == platform::RegResult::Ok;
    }

    // The replaced revision's files (a file that another package records too stays, and one
    // that has become a folder or lies behind a link) and whatever is where the new ones go.
    void SetOldFilesAside(FileCommit& files) {
        if (!previouslyInstalled_) return;
        std::vector<std::string> paths = old_.files;
        for (const auto& s : old_.shortcuts)
            paths.push_back(s.path);
        if (!old_.setupLibrary.empty()) paths.push_back(old_.setupLibrary);
        for (const std::string& path : paths)
            if (!others_.HasFile(path)) files.SetAsideIfPresent(path);
    }

    // Makes every folder the package uses; the record keeps those this installation makes,
    // those the replaced revision had made and those other packages made (a share in them),
    // parents first.
    bool PlanFolders(FileCommit& files, platform::InstallRecord& record, std::string& error) {
        PathList needed(plan_.folders);
        for (const auto& f : plan_.files)
            needed.Add(ParentFolder(f.path));
        for (const auto& s : plan_.shortcuts)
            needed.Add(ParentFolder(s.path));
        if (!libraryPath_.empty()) needed.Add(ParentFolder(libraryPath_));
        PathList oldFolders(old_.folders), recorded;
        for (const std::string& folder : needed.Paths()) {
            std::vector<FileCommit::Prefix> prefixes;
            if (!files.NeedFolder(folder, prefixes, error)) return false;
            for (const FileCommit::Prefix& prefix : prefixes)
                if (prefix.made || oldFolders.Contains(prefix.path) ||
                    others_.HasFolder(prefix.path))
                    recorded.Add(prefix.path);
        }
        record.folders = recorded.Paths();
        return true;
    }

    bool PlanFiles(FileCommit& files, platform::InstallRecord& record, std::string& error) {
        std::string placed;
        for (size_t i = 0; i < plan_.files.size(); ++i) {
            if (!files.Place(staged_[i], plan_.files[i].path, placed, error)) return false;
            record.files.push_back(placed);
            if (IsExecutableName(placed)) record.executables.push_back(placed);
        }
        for (size_t i = 0; i < plan_.shortcuts.size(); ++i) {
            if (!files.Place(stagedShortcuts_[i], plan_.shortcuts[i].path, placed, error))
                return false;
            record.shortcuts.push_back({placed, plan_.shortcuts[i].target});
        }
        if (!libraryPath_.empty()) {
            if (!files.Place(kStagedLibrary, libraryPath_, placed, error)) return false;
            record.setupLibrary = placed;
        }
        return true;
    }

    // The package's keys and values (inside the caller's transaction). The record keeps the
    // keys that did not exist before (and a share in those of other packages) and every value
    // written.
    bool ApplyRegistry(platform::InstallRecord& record) {
        using platform::RegKey, platform::RegResult;
        std::unordered_map<std::string, size_t> recordedKeys;  // folded path -> index in record
        std::unordered_map<std::string, RegKey> opened;        // folded plan path -> its key
        for (const std::string& keyPath : plan_.keys) {
            RegKey key;
            size_t created = 0;
            if (RegKey::Create(keyPath, key, &created) != RegResult::Ok) return false;
            opened.emplace(platform::FoldCase(keyPath), key);
            // The created keys spelled as in the registry: prefixes of the key's own path.
            std::vector<std::string> spelled = SplitKey(key.Path());
            std::string path;
            for (size_t i = 0; i < spelled.size(); ++i) {
                path += "\\" + spelled[i];
                bool named = i + 1 == spelled.size();
                bool missing = i + created >= spelled.size();
                std::string folded = platform::FoldCase(path);
                auto known = recordedKeys.find(folded);
                if (missing) {
                    recordedKeys.emplace(folded, record.keys.size());
                    record.keys.push_back({path, named});
                } else if (known != recordedKeys.end()) {
                    // A parent made earlier is now named itself (unless it is shared).
                    if (named && !others_.HasKey(path)) record.keys[known->second].whole = true;
                } else if (others_.HasKey(path)) {
                    recordedKeys.emplace(folded, record.keys.size());
                    record.keys.push_back({path, false});
                }
            }
        }
        ValueRecorder values(record);
        for (const PlannedValue& planned : plan_.values) {
            auto found = opened.find(platform::FoldCase(planned.key));
            RegKey key;
            if (found != opened.end())
                key = found->second;
            else if (RegKey::Create(planned.key, key) != RegResult::Ok)
                return false;
            if (key.Set(planned.value) != RegResult::Ok) return false;
            values.Add(key.Path(), planned.value.name);
        }
        return true;
    }

    // Fills the record's value list: each key once, each of its value names once.
    class ValueRecorder {
      public:
        explicit ValueRecorder(platform::InstallRecord& record) : record_(record) {}
        void Add(const std::string& key, const std::string& name) {
            auto [entry, isNew] = keys_.emplace(platform::FoldCase(key), record_.values.size());
            if (isNew) record_.values.push_back({key, {}});
            if (names_.insert(entry->first + "\n" + platform::FoldCase(name)).second)
                record_.values[entry->second].names.push_back(name);
        }

      private:
        platform::InstallRecord& record_;
        std::unordered_map<std::string, size_t> keys_;  // folded key path -> index in record
        std::unordered_set<std::string> names_;         // folded "<key>\n<name>"
    };

    void Finish() {
        result_.ok = true;
        if (library_ && !library_->InstallExit(plan_.installDir)) {
            std::string error;
            platform::RemoveInstalledPackage(plan_.appName, false, error);
            Fail("the package's setup library asked to remove it again");
        }
    }

    InstallResult result_;
    Staging staging_;
    std::unique_ptr<CabArchive> cab_;
    InstallPlan plan_;
    std::string libraryPath_;          // device path where the setup library is kept
    std::vector<std::string> staged_;  // names in the staging folder
    std::vector<std::string> stagedShortcuts_;
    std::unique_ptr<platform::SetupLibrary> library_;
    bool previouslyInstalled_ = false;
    uint32_t oldCommit_ = 0;  // the replaced record's commit number
    platform::InstallRecord old_;
    platform::OtherRecords others_;
};

}  // namespace

InstallResult InstallCab(const std::string& cabDevicePath) {
    return Installation().Run(cabDevicePath);
}

}  // namespace wceload
