// Installed applications, updates and the program's own update question.

#include "manager/app_manager.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "manager/install_key.h"
#include "net/inet_manager.h"
#include "platform/config_process.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_open.h"
#include "platform/text.h"
#include "ui/app_lock.h"
#include "widgets/popup_box.h"

namespace zentri {
namespace fs = std::filesystem;
namespace {

// Localized strings of the self-update question.
constexpr int32_t kYes = 1, kNo = 2, kQuestion = 8, kNewVersion = 5006;
// A registry name longer than this is not read (the handset's limit for key and value names).
constexpr size_t kMaxName = 255;
// Shortcut files are a few hundred bytes; a larger file in the Start menu is not one.
constexpr uintmax_t kMaxShortcutFile = 64 * 1024;

// The executable name a shortcut names: from just after the "#" or "\" before its first
// ".exe" up to and including ".exe"; empty when there is none.
std::u16string ShortcutExe(const std::u16string& text) {
    size_t exe = text.find(u".exe");
    if (exe == std::u16string::npos) return {};
    for (size_t i = exe + 1; i-- > 0;) {
        if (text[i] == u'#' || text[i] == u'\\') return text.substr(i + 1, exe + 4 - (i + 1));
    }
    return {};
}

bool ReadSmallFile(const fs::path& path, std::string& content) {
    std::error_code ec;
    uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxShortcutFile) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

AppManager::AppManager()
    : installJobs([this](shared_ptr<InstallRequest> job) { InstallWorker(std::move(job)); }),
      uninstallJobs([this](shared_ptr<UninstallRequest> job) { UninstallWorker(std::move(job)); }),
      configurationManager(&platform::ProcessConfigurationInChild) {
    // Created before this manager, so destroyed after it: the transport is stopped before the
    // records whose transfers report here go away, and the strings and the session outlive
    // the workers.
    InetManager::Instance();
    Localization::Instance();
    Kestro::Instance();
    Start();
    pendingProbe = WorkProbe([this] {
        return downloadsRunning.load() > 0 || !installJobs.Empty() || !uninstallJobs.Empty();
    });
}

AppManager::~AppManager() {
    // No transfer may finish into a download or details answer of ours from here on.
    InetManager::Instance().Shutdown();
    Shutdown();
}

void AppManager::Start() {
    std::lock_guard<AppLockType> lock(AppLock());
    installJobs.Restart();
    uninstallJobs.Restart();
    cabFolder = platform::Utf8ToUtf16(platform::ProgramFolder()) + u"cabs";
    platform::CreateFolder(platform::Utf16ToUtf8(cabFolder));
    shortcutExes.clear();
    ScanShortcuts();
    installed.clear();
    downloads.clear();
    ScanInstalled();
    offerSelfUpdate = true;
    selfUpdateApp = nullptr;
    selfUpdateWaiting = nullptr;
    pendingUpdates = 0;
    updateSysids.clear();
    cabFiles.Clear();
    downloadsRunning = 0;
}

void AppManager::StopJobs() {
    std::lock_guard<AppLockType> lock(AppLock());
    // Jobs that never ran end here: nothing will report them, and their delegates (which keep
    // their applications alive) are let go.
    for (const shared_ptr<InstallRequest>& job : installJobs.Stop()) {
        job->active = false;
        job->Finished.Clear();
    }
    for (const shared_ptr<UninstallRequest>& job : uninstallJobs.Stop()) {
        job->active = false;
        job->Finished.Clear();
    }
}

void AppManager::Shutdown() {
    StopJobs();
    installJobs.Join();
    uninstallJobs.Join();
    {
        std::lock_guard<AppLockType> lock(AppLock());
        for (auto& [sysid, app] : installed)
            app->StatusChanged.Remove(this, &AppManager::OnAppStatus);
    }
    platform::DeleteTree(platform::Utf16ToUtf8(cabFolder));
}

void AppManager::ScanShortcuts() {
    fs::path folder = platform::HostPath(platform::SpecialFolder(2) + "\\");
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec)) continue;
        std::string content;
        if (!ReadSmallFile(it->path(), content)) continue;
        std::u16string exe = ShortcutExe(platform::Utf8ToUtf16(content));
        if (!exe.empty()) shortcutExes.push_back(std::move(exe));
    }
}

void AppManager::ScanInstalled() {
    platform::RegKey key;
    if (platform::RegKey::Open(kAppInstallKey, key) != platform::RegResult::Ok) return;
    std::string name;
    for (uint32_t i = 0; key.EnumKey(i, name) == platform::RegResult::Ok; ++i) {
        if (name == "ExtensionOptions" || name == "TSKAllowed") continue;
        std::u16string sysid = platform::Utf8ToUtf16(name);
        if (sysid.size() > kMaxName) continue;
        installed.emplace(sysid, MakeShared<App>(sysid));
    }
}

int32_t AppManager::GetInstalledRevision(const std::u16string& sysid) const {
    std::optional<std::string> path =
        sysid == kOwnSysid ? std::optional<std::string>(kOwnKey) : InstallKeyPath(sysid);
    platform::RegKey key;
    uint32_t revision = 0;
    if (!path || platform::RegKey::Open(*path, key) != platform::RegResult::Ok ||
        key.QueryDword(kRevisionValue, revision) != platform::RegResult::Ok)
        return 0;
    return static_cast<int32_t>(revision);
}

bool AppManager::IsInstalled(const std::u16string& sysid) const {
    std::optional<std::string> path = InstallKeyPath(sysid);
    platform::RegKey key;
    return path && platform::RegKey::Open(*path, key) == platform::RegResult::Ok;
}

bool AppManager::HasInstalled(const std::u16string& sysid) const {
    return installed.count(sysid) != 0;
}

std::u16string AppManager::FindExecutable(const std::u16string& sysid,
                                          const std::u16string& exe) const {
    std::optional<std::string> path = InstallKeyPath(sysid);
    platform::RegKey key;
    if (!path ||
        platform::RegKey::Open(*path + "\\ExecutableFiles", key) != platform::RegResult::Ok)
        return {};
    platform::RegValue value;
    for (uint32_t i = 0; key.EnumValue(i, value) == platform::RegResult::Ok; ++i) {
        std::u16string name = platform::Utf8ToUtf16(value.name);
        if (name.size() > kMaxName) continue;
        if (!exe.empty()) {
            if (name.find(exe) != std::u16string::npos) return name;
            continue;
        }
        for (const std::u16string& shortcut : shortcutExes)
            if (name.find(shortcut) != std::u16string::npos) return name;
    }
    return {};
}

void AppManager::Run(const std::u16string& sysid, const std::u16string& exe) {
    std::u16string path = FindExecutable(sysid, exe);
    if (!path.empty()) platform::ShellOpen(platform::Utf16ToUtf8(path));
}

void AppManager::CheckUpdates() {
    std::lock_guard<AppLockType> lock(AppLock());
    // A copy: an answer handled meanwhile may change the map.
    AppMap apps = installed;
    for (auto& [sysid, app] : apps) {
        // Subscribed once, however often the check runs, so each answer is counted once.
        app->StatusChanged.Remove(this, &AppManager::OnAppStatus);
        app->StatusChanged.Add(this, &AppManager::OnAppStatus);
        app->RequestDetails();
    }
}

void AppManager::AddInstalled(const std::u16string& sysid) {
    std::lock_guard<AppLockType> lock(AppLock());
    auto [it, inserted] = installed.emplace(sysid, nullptr);
    if (!inserted) return;
    it->second = MakeShared<App>(sysid);
    shared_ptr<App> app = it->second;  // the request's answer may replace the entry
    app->RequestDetails();
}

void AppManager::RemoveInstalled(const std::u16string& sysid) {
    std::lock_guard<AppLockType> lock(AppLock());
    installed.erase(sysid);
    RecountUpdate(sysid);
}

void AppManager::OnAppStatus(App* app, App::AppStatusType type, bool finished, double,
                             bool success) {
    if (type != App::LoadingDetails || !finished) return;
    RecountUpdate(app->sysid);
    if (!success || !updateSysids.count(app->sysid)) return;
    if (offerSelfUpdate && !selfUpdateWaiting &&
        app->sysid.find(u"Zentri") != std::u16string::npos) {
        selfUpdateWaiting = installed.at(app->sysid);  // kept until the question is asked
        AskSelfUpdate();
    }
}

void AppManager::OnPopupClosed() {
    std::lock_guard<AppLockType> lock(AppLock());
    AskSelfUpdate();
}

// Shows the question when the box is free; otherwise it waits for the next box to close. An
// update of that application started meanwhile (from the lists) makes the question moot.
void AppManager::AskSelfUpdate() {
    if (!offerSelfUpdate || !selfUpdateWaiting) return;
    shared_ptr<App> app = selfUpdateWaiting;
    if (!updateSysids.count(app->sysid)) {
        selfUpdateWaiting = nullptr;
        return;
    }
    KestroApp* shell = Kestro::Instance().app;
    if (!shell) return;
    Localization& text = Localization::Instance();
    std::u16string question = text.Get(kNewVersion);
    size_t mark = question.find(u"--ver--");
    if (mark != std::u16string::npos) question.replace(mark, 7, app->version);
    auto answer = shell->ShowPopup(text.Get(kQuestion), question, text.Get(kYes), text.Get(kNo));
    if (!answer) return;  // another box is on screen
    offerSelfUpdate = false;
    selfUpdateApp = app.get();
    selfUpdateWaiting = nullptr;
    answer->Add([this, app](PopupBox::PopupBoxResult result) {
        if (result != PopupBox::LeftKey) return;
        Update(app);
        if (KestroApp* shell = Kestro::Instance().app) shell->OpenMyApps();
    });
}

bool AppManager::HasPendingUpdate(const std::u16string& sysid) const {
    auto it = installed.find(sysid);
    // Only a successful details answer tells the catalogue revision.
    if (it == installed.end() || !it->second->catalogueValid) return false;
    if (cabFiles.UpdateUnderWay(sysid)) return false;
    // Applications the program did not install (revision 0) are never offered an update.
    int32_t revision = GetInstalledRevision(sysid);
    return revision >= 1 && revision < it->second->revision;
}

void AppManager::RecountUpdate(const std::u16string& sysid) {
    bool changed = HasPendingUpdate(sysid) ? updateSysids.insert(sysid).second
                                           : updateSysids.erase(sysid) != 0;
    if (!changed) return;
    pendingUpdates = static_cast<int32_t>(updateSysids.size());
    UpdatesChanged.Invoke();
}

void AppManager::RebuildCatalogueScenes(int reason) {
    if (KestroApp* shell = Kestro::Instance().app) shell->RebuildCatalogueScenes(reason);
}

void AppManager::SetConfigurationManager(ConfigurationManager manager) {
    configurationManager = manager ? manager : &platform::ProcessConfigurationInChild;
}

}  // namespace zentri
