#include "platform/install_journal.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/atomic_file.h"
#include "platform/debug.h"
#include "platform/install_record.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr const char* kMagic = "zentri-install-journal 1";

const char* KindName(JournalStep::Kind kind) {
    switch (kind) {
        case JournalStep::Kind::SetAside:
            return "set-aside";
        case JournalStep::Kind::MakeFolder:
            return "make";
        case JournalStep::Kind::Place:
            return "place";
    }
    return "";
}

// Fields are separated by tabs and lines by newlines; a name may hold neither (nor "%").
std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        char* end = nullptr;
        std::string hex(text.substr(i + 1, 2));
        long value = std::strtol(hex.c_str(), &end, 16);
        if (end != hex.c_str() + 2) return false;
        out += static_cast<char>(value);
        i += 2;
    }
    return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// A file name of the staging folder ("files/0"): never one that leads out of it.
bool InStaging(const std::string& stored) {
    if (stored.empty() || stored.front() == '/') return false;
    for (const auto& part : fs::path(stored))
        if (part == ".." || part == ".") return false;
    return true;
}

bool ParseLine(const std::vector<std::string_view>& f, InstallJournal& journal) {
    std::vector<std::string> v(f.size());
    for (size_t i = 1; i < f.size(); ++i)
        if (!Unescape(f[i], v[i])) return false;
    if (f[0] == "app" && f.size() == 2) {
        journal.appName = v[1];
    } else if (f[0] == "commit" && f.size() == 2) {
        char* end = nullptr;
        unsigned long n = std::strtoul(v[1].c_str(), &end, 10);
        if (v[1].empty() || *end || n > UINT32_MAX) return false;
        journal.commit = static_cast<uint32_t>(n);
    } else if (f[0] == "abandon" && f.size() == 2) {
        journal.abandoned.push_back(v[1]);
    } else if (f[0] == "make" && f.size() == 2) {
        journal.steps.push_back({JournalStep::Kind::MakeFolder, v[1], ""});
    } else if ((f[0] == "set-aside" || f[0] == "place") && f.size() == 3 && InStaging(v[2])) {
        auto kind = f[0] == "place" ? JournalStep::Kind::Place : JournalStep::Kind::SetAside;
        journal.steps.push_back({kind, v[1], v[2]});
    } else {
        return false;
    }
    return true;
}

std::string ParentOf(const std::string& devicePath) {
    size_t slash = devicePath.rfind('\\');
    return slash == 0 || slash == std::string::npos ? "\\" : devicePath.substr(0, slash);
}

std::string NameOf(const std::string& devicePath) {
    return devicePath.substr(devicePath.rfind('\\') + 1);
}

std::string Errno(const std::string& what) {
    if (errno == EXDEV) return what + ": it lies on another file system than the device root";
    return what + ": " + std::strerror(errno);
}

bool Fail(std::string& error, std::string why) {
    error = std::move(why);
    return false;
}

bool Exists(int folder, const std::string& name) {
    return IdAt(folder, name).has_value();
}

bool ReadJournal(int staging, std::string& text) {
    UniqueFd fd(openat(staging, kJournalFile, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.Valid()) return false;
    char buffer[8192];
    ssize_t n;
    while ((n = read(fd.Get(), buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    return n == 0;
}

// Whether the registry holds the record that the journal's commit wrote.
bool Committed(const InstallJournal& journal, bool& committed, std::string& error) {
    committed = false;
    RegKey key;
    RegResult r = RegKey::Open(InstallKeyPath(journal.appName), key);
    uint32_t number = 0;
    if (r == RegResult::Ok) r = key.QueryDword(kCommitValue, number);
    if (r == RegResult::Failed) {
        error = "cannot read the registry: " + RegistryError();
        return false;
    }
    committed = r == RegResult::Ok && number == journal.commit;
    return true;
}

void RemoveStaging(const std::string& name) {
    std::error_code ec;
    fs::remove_all(DeviceRoot() / name, ec);
}

// One staging folder left by an earlier run: its commit finished or undone, then deleted.
bool RecoverStaging(int root, const std::string& name, std::string& error) {
    UniqueFd staging = OpenChildFolder(root, name);
    if (!staging.Valid()) {
        unlinkat(root, name.c_str(), 0);  // a file or link of that name is no staging folder
        return true;
    }
    if (!IdAt(staging.Get(), kJournalFile)) {
        RemoveStaging(name);  // nothing on the device had moved yet
        return true;
    }
    std::string text;
    InstallJournal journal;
    if (!ReadJournal(staging.Get(), text) || !ParseJournal(text, journal)) {
        error = "the journal in " + name + " cannot be read";
        return false;
    }
    bool committed = false;
    if (!Committed(journal, committed, error)) return false;
    CommitFolders folders(root);
    CommitSteps steps(journal, staging.Get(), folders);
    if (committed) {
        steps.RemoveAbandoned();
    } else if (!steps.Undo(error)) {
        error = "the interrupted installation of \"" + journal.appName + "\" cannot be undone (" +
                error + "); its files are kept in " + name;
        return false;
    }
    DebugPrintf("install recovery: %s the interrupted installation of %s\n",
                committed ? "finished" : "undid", journal.appName.c_str());
    unlinkat(staging.Get(), kJournalFile, 0);
    SyncFolder(staging.Get());
    RemoveStaging(name);
    return true;
}

std::function<void(std::string_view)>& Hook() {
    static std::function<void(std::string_view)> hook;
    return hook;
}

}  // namespace

std::string FormatJournal(const InstallJournal& journal) {
    std::string text = std::string(kMagic) + "\napp\t" + Escape(journal.appName) + "\ncommit\t" +
                       std::to_string(journal.commit) + "\n";
    for (const JournalStep& step : journal.steps) {
        text += std::string(KindName(step.kind)) + "\t" + Escape(step.path);
        if (step.kind != JournalStep::Kind::MakeFolder) text += "\t" + Escape(step.stored);
        text += "\n";
    }
    for (const std::string& folder : journal.abandoned)
        text += "abandon\t" + Escape(folder) + "\n";
    return text + "end\n";
}

bool ParseJournal(std::string_view text, InstallJournal& journal) {
    journal = InstallJournal{};
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return false;  // every line ends in a newline
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() < 4 || lines.front() != kMagic || lines.back() != "end") return false;
    for (size_t i = 1; i + 1 < lines.size(); ++i)
        if (!ParseLine(Fields(lines[i]), journal)) return false;
    return IsValidAppName(journal.appName);
}

void CommitFolders::Add(const std::string& devicePath, UniqueFd folder) {
    open_[devicePath] = std::move(folder);
}

int CommitFolders::Get(const std::string& devicePath) {
    auto it = open_.find(devicePath);
    if (it != open_.end()) return it->second.Get();
    UniqueFd folder = OpenDeviceFolderExact(root_, SplitDevicePath(devicePath));
    if (!folder.Valid()) return -1;
    return open_.emplace(devicePath, std::move(folder)).first->second.Get();
}

bool CommitFolders::Verify(std::string& error) {
    for (const auto& [path, folder] : open_) {
        UniqueFd now = OpenDeviceFolderExact(root_, SplitDevicePath(path));
        if (!now.Valid() || IdOf(now.Get()) != IdOf(folder.Get())) {
            error = "the folder " + path + " was replaced during the installation";
            return false;
        }
    }
    return true;
}

bool CommitSteps::Run(std::string& error) {
    CommitPoint("journal");
    fs::path staging = "/proc/self/fd/" + std::to_string(staging_);
    if (!WriteFileAtomically(staging / kJournalFile, FormatJournal(journal_), 0600)) {
        error = "cannot write the installation's journal";
        return false;
    }
    SyncFolder(staging_);
    for (const JournalStep& step : journal_.steps) {
        CommitPoint(KindName(step.kind));
        if (!Do(step, error)) return false;
    }
    // The moves must be on disk before the registry says they happened.
    SyncFolder(staging_);
    std::set<std::string> parents;
    for (const JournalStep& step : journal_.steps)
        parents.insert(ParentOf(step.path));
    for (const std::string& parent : parents)
        SyncFolder(folders_.Get(parent));
    return true;
}

bool CommitSteps::Do(const JournalStep& step, std::string& error) {
    int folder = folders_.Get(ParentOf(step.path));
    std::string name = NameOf(step.path);
    if (folder < 0) {
        error = Errno("cannot reach the folder of " + step.path);
        return false;
    }
    switch (step.kind) {
        case JournalStep::Kind::SetAside:
            if (renameat2(folder, name.c_str(), staging_, step.stored.c_str(), RENAME_NOREPLACE))
                return Fail(error, Errno("cannot replace " + step.path));
            return true;
        case JournalStep::Kind::MakeFolder:
            if (mkdirat(folder, name.c_str(), 0755) != 0 || folders_.Get(step.path) < 0)
                return Fail(error, Errno("cannot make the folder " + step.path));
            return true;
        case JournalStep::Kind::Place:
            if (renameat2(staging_, step.stored.c_str(), folder, name.c_str(), RENAME_NOREPLACE))
                return Fail(error, Errno("cannot write " + step.path));
            return true;
    }
    return false;
}

bool CommitSteps::Undo(std::string& error) {
    bool ok = true;
    for (auto it = journal_.steps.rbegin(); it != journal_.steps.rend(); ++it) {
        std::string why;
        CommitPoint("undo");
        if (!UndoStep(*it, why) && ok) {
            ok = false;
            error = why;
        }
    }
    SyncFolder(staging_);
    return ok;
}

bool CommitSteps::UndoStep(const JournalStep& step, std::string& error) {
    int folder = folders_.Get(ParentOf(step.path));
    std::string name = NameOf(step.path);
    switch (step.kind) {
        case JournalStep::Kind::Place:
            // Not placed while the staged file is still there; back into staging if it was.
            if (Exists(staging_, step.stored)) return true;
            if (folder < 0) {
                DebugPrintf("install undo: %s cannot be reached to take it back\n",
                            step.path.c_str());
                return true;
            }
            if (renameat2(folder, name.c_str(), staging_, step.stored.c_str(), RENAME_NOREPLACE) &&
                errno != ENOENT)
                return Fail(error, Errno("cannot take back " + step.path));
            return true;
        case JournalStep::Kind::SetAside:
            if (!Exists(staging_, step.stored)) return true;  // never set aside, or put back
            if (folder < 0) return Fail(error, Errno("cannot put back " + step.path));
            if (renameat2(staging_, step.stored.c_str(), folder, name.c_str(), RENAME_NOREPLACE))
                return Fail(error, Errno("cannot put back " + step.path));
            return true;
        case JournalStep::Kind::MakeFolder:
            if (folder >= 0) unlinkat(folder, name.c_str(), AT_REMOVEDIR);  // only when empty
            return true;
    }
    return true;
}

void CommitSteps::RemoveAbandoned() {
    // Children are listed after their parents. The paths come from the replaced record, so
    // they are matched without case, as device paths are.
    for (auto it = journal_.abandoned.rbegin(); it != journal_.abandoned.rend(); ++it) {
        std::string parentPath, name;
        if (!SplitDeviceFile(*it, parentPath, name)) continue;
        UniqueFd parent = OpenDeviceFolder(parentPath);
        if (!parent.Valid()) continue;
        name = SpellingIn(parent.Get(), name);
        unlinkat(parent.Get(), name.c_str(), AT_REMOVEDIR);  // only when empty
    }
}

void SyncFolder(int folder) {
    if (folder >= 0) fsync(folder);
}

void CommitPoint(std::string_view step) {
    static const long fault = [] {
        const char* value = std::getenv("ZENTRI_INSTALL_FAULT");
        return value ? std::strtol(value, nullptr, 10) : 0L;
    }();
    static long count = 0;
    if (Hook()) Hook()(step);
    if (fault > 0 && ++count == fault) kill(getpid(), SIGKILL);
}

void SetCommitHook(std::function<void(std::string_view step)> hook) {
    Hook() = std::move(hook);
}

bool RecoverInterruptedInstall(std::string& error) {
    UniqueFd root = OpenDeviceRoot();
    if (!root.Valid()) return true;  // no device yet, so nothing to recover
    std::vector<std::string> names;
    int own = openat(root.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (DIR* dir = own >= 0 ? fdopendir(own) : nullptr) {
        while (dirent* entry = readdir(dir))
            if (std::string_view(entry->d_name).starts_with(kStagingPrefix))
                names.push_back(entry->d_name);
        closedir(dir);
    } else if (own >= 0) {
        close(own);
    }
    for (const std::string& name : names)
        if (!RecoverStaging(root.Get(), name, error)) return false;
    return true;
}

}  // namespace platform
