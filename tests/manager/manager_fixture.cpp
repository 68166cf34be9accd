#include "tests/manager/manager_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/kestro.h"
#include "net/inet_manager.h"
#include "platform/debug.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "ui/app_lock.h"

namespace zentri::test {
namespace fs = std::filesystem;

namespace {

std::string Xml(const std::string& data, int code = 0) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<kestro-api><result code=\"" +
           std::to_string(code) + "\"/>" + data + "</kestro-api>\n";
}

std::string Attr(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string AppElement(const CatalogueEntry& e) {
    return "<app id=\"" + std::to_string(e.id) + "\" name=\"" + Attr(e.sysid) +
           "\" com=\"Test\" icon=\"/i.png\" type=\"free\" catid=\"1\" rate=\"4\" rates=\"1\" "
           "reviews=\"0\" views=\"0\" downloads=\"0\" version=\"" +
           Attr(e.version) + "\" revision=\"" + std::to_string(e.revision) + "\" sysid=\"" +
           Attr(e.sysid) + "\" exe=\"" + Attr(e.exe) + "\" install=\"" + Attr(e.install) + "\"/>";
}

FakeCatalogue::FakeCatalogue() {
    server_.Get(R"(/(\w+)\.php)", [this](const httplib::Request& req, httplib::Response& res) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            targets_.push_back(req.target);
        }
        Answer(req.matches[1], req, res);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only ends a server that is running: one stopped before its thread got to listen
    // would listen on, and the destructor would wait for it forever.
    while (!server_.is_running())
        std::this_thread::yield();
}

FakeCatalogue::~FakeCatalogue() {
    server_.stop();
    thread_.join();
}

void FakeCatalogue::Add(const CatalogueEntry& entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    bySysid_[entry.sysid] = entry;
}

std::vector<std::string> FakeCatalogue::Targets() {
    std::lock_guard<std::mutex> lock(mutex_);
    return targets_;
}

int FakeCatalogue::Count(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const std::string& t : targets_)
        n += t.rfind("/" + name + ".php", 0) == 0;
    return n;
}

void FakeCatalogue::Answer(const std::string& name, const httplib::Request& req,
                           httplib::Response& res) {
    const char* xml = "text/xml; charset=utf-8";
    if (req.get_param_value("sessionid") != kSession) {
        res.set_content(Xml("", 203), xml);
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (name == "appdetails") {
        auto it = bySysid_.find(req.get_param_value("sysid"));
        if (it == bySysid_.end()) {
            res.set_content(Xml("", 112), xml);
            return;
        }
        res.set_content(Xml("<appdetails>" + AppElement(it->second) + "</appdetails>"), xml);
    } else if (name == "download") {
        for (auto& [sysid, entry] : bySysid_) {
            if (std::to_string(entry.id) == req.get_param_value("appid") && !entry.cab.empty()) {
                res.set_content(entry.cab, "application/vnd.ms-cab-compressed");
                return;
            }
        }
        res.status = 404;
        res.set_content(Xml("", 112), xml);
    } else {
        res.status = 404;
    }
}

void StatusLog::Attach(App& app) {
    app.StatusChanged.Remove(this, &StatusLog::OnStatus);
    app.StatusChanged.Add(this, &StatusLog::OnStatus);
    std::lock_guard<std::mutex> lock(mutex_);
    attachedAt_[&app] = entries_.size();
}

void StatusLog::OnStatus(App* app, App::AppStatusType type, bool finished, double progress,
                         bool ok) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back({app, type, finished, progress, ok});
    changed_.notify_all();
}

bool StatusLog::WaitEnd(App& app, App::AppStatusType type) {
    std::unique_lock<std::mutex> lock(mutex_);
    const Entry* end = nullptr;
    changed_.wait_for(lock, kGuard, [&] {
        for (size_t i = attachedAt_[&app]; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            if (e.app == &app && e.type == type && e.finished) end = &e;
        }
        return end != nullptr;
    });
    EXPECT_NE(end, nullptr) << "no end of activity " << type;
    return end && end->success;
}

std::string StatusLog::Summary(App& app) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> tokens;
    for (size_t i = attachedAt_[&app]; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        if (e.app != &app) continue;
        std::string token(1, "ILDU"[e.type]);
        if (e.finished)
            token += e.success ? 't' : 'f';
        else
            token += e.progress == 0.0 ? '0' : 'p';
        // How the body arrives decides the number of progress reports: one "p" stands for all.
        if (token[1] == 'p' && !tokens.empty() && tokens.back() == token) continue;
        tokens.push_back(token);
    }
    std::string out;
    for (const std::string& t : tokens)
        out += (out.empty() ? "" : " ") + t;
    return out;
}

std::string ReadFifo(const fs::path& fifo) {
    // Without a writer the FIFO reads nothing and poll waits; the writer's line wakes it.
    int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return {};
    pollfd p{fd, POLLIN, 0};
    std::string text;
    if (poll(&p, 1, static_cast<int>(kGuard.count() * 1000)) == 1 && (p.revents & POLLIN)) {
        char buffer[4096];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) text.assign(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return text;
}

void MakeCab(const std::string& cabDevicePath, const std::map<std::string, std::string>& files) {
    fs::path source = platform::DeviceRoot().string() + "-cab-source";
    fs::remove_all(source);
    fs::create_directories(source);
    fs::path cab = platform::HostPath(cabDevicePath);
    fs::create_directories(cab.parent_path());
    std::vector<std::string> args = {ZENTRI_GCAB, "--create", "--nopath", "--zip", cab.string()};
    for (const auto& [name, content] : files) {
        std::ofstream(source / name, std::ios::binary) << content;
        args.push_back((source / name).string());
    }
    auto gcab = platform::Process::StartHost(args);
    ASSERT_TRUE(gcab.has_value());
    EXPECT_EQ(gcab->Wait(), 0);
    fs::remove_all(source);
}

void Settle() {
    std::lock_guard<AppLockType> lock(AppLock());
}

void ManagerTest::SetUp() {
    LoadLocalization(device, catalogue.Base());
    ResetSession();
    Kestro::Instance().app = &app;
    Kestro::Instance().SetSessionId(platform::Utf8ToUtf16(kSession));
    platform::SetDebugSink([this](const std::string& line) {
        std::lock_guard<std::mutex> lock(debugMutex);
        debugLines.push_back(line);
    });
    Manager().Start();
}

void ManagerTest::TearDown() {
    InetManager::Instance().Shutdown();
    Manager().Shutdown();
    Manager().SetConfigurationManager(nullptr);
    platform::SetDebugSink(nullptr);
    ResetSession();
}

void ManagerTest::CheckAndWait() {
    std::vector<shared_ptr<App>> apps;
    {
        std::lock_guard<AppLockType> lock(AppLock());
        for (auto& [sysid, a] : Manager().GetInstalled()) {
            if (a->detailsRequest) continue;
            apps.push_back(a);
            log.Attach(*a);
        }
        Manager().CheckUpdates();
    }
    for (auto& a : apps)
        log.WaitEnd(*a, App::LoadingDetails);
    Settle();
}

void ManagerTest::StageTestInstaller() {
    std::string root = device.Root().string();
    std::string script = "#!/bin/sh\nroot='" + root + "'\nreg='" + ZENTRI_REG_TOOL + "'\n" +
                         R"SH(log="$root/installer.log"
line="start"
for a in "$@"; do line="$line [$a]"; done
own=$("$reg" query 'HKLM\Software\Zentri' /v ZentriRevision 2>/dev/null | awk '/ZentriRevision/ {print $3}')
printf "%s own=%s\n" "$line" "$own" >> "$log"
cab="$root$(printf '%s' "$3" | tr '\\' '/')"
if grep -q '^block' "$cab" 2>/dev/null; then
    echo started > "$root/started"
    read go < "$root/go"
fi
key=$(sed -n 's/^key=//p' "$cab" 2>/dev/null)
if [ -n "$key" ]; then "$reg" add "HKLM\\Security\\AppInstall\\$key" /f > /dev/null; fi
commit=$(sed -n 's/^commit=//p' "$cab" 2>/dev/null)
if [ -n "$commit" ]; then
    "$reg" add "HKLM\\Security\\AppInstall\\$key" /v InstallCommit /t REG_DWORD /d "$commit" /f > /dev/null
fi
echo "end" >> "$log"
)SH";
    device.WriteFile("\\Windows\\wceload.exe", script);
    fs::permissions(platform::HostPath("\\Windows\\wceload.exe"), fs::perms::owner_all,
                    fs::perm_options::add);
}

void ManagerTest::MakeFifos() {
    for (const char* name : {"started", "go"})
        ASSERT_EQ(mkfifo((device.Root() / name).c_str(), 0600), 0);
}

bool ManagerTest::WaitStarted() {
    return !ReadFifo(device.Root() / "started").empty();
}

void ManagerTest::Go() {
    // Blocks until the stand-in opens the FIFO to read, which it does right after "started".
    int fd = open((device.Root() / "go").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, "go\n", 3), 3);
    close(fd);
}

std::vector<std::string> ManagerTest::InstallerLog() {
    std::vector<std::string> lines;
    std::istringstream in(device.ReadFile("\\installer.log"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void ManagerTest::Register(const std::string& sysid, int32_t revision,
                           const std::vector<std::string>& executables) {
    platform::RegKey key;
    ASSERT_EQ(platform::RegKey::Create("\\Security\\AppInstall\\" + sysid, key),
              platform::RegResult::Ok);
    if (revision >= 0) key.SetDword("ZentriRevision", static_cast<uint32_t>(revision));
    if (executables.empty()) return;
    platform::RegKey exes;
    ASSERT_EQ(platform::RegKey::Create(key.Path() + "\\ExecutableFiles", exes),
              platform::RegResult::Ok);
    for (const std::string& exe : executables)
        exes.SetDword(exe, 0);
}

int32_t ManagerTest::RegistryRevision(const std::string& sysid) {
    platform::RegKey key;
    uint32_t revision = 0;
    if (platform::RegKey::Open("\\Security\\AppInstall\\" + sysid, key) != platform::RegResult::Ok)
        return -1;
    if (key.QueryDword("ZentriRevision", revision) != platform::RegResult::Ok) return 0;
    return static_cast<int32_t>(revision);
}

shared_ptr<App> ManagerTest::CatalogueApp(const CatalogueEntry& e) {
    shared_ptr<App> app = MakeShared<App>();
    app->id = e.id;
    app->sysid = platform::Utf8ToUtf16(e.sysid);
    app->name = app->sysid;
    app->revision = e.revision;
    app->version = platform::Utf8ToUtf16(e.version);
    app->exe = platform::Utf8ToUtf16(e.exe);
    app->install = platform::Utf8ToUtf16(e.install);
    return app;
}

std::string ManagerTest::CabFolderHost() {
    return platform::HostPath("\\Program Files\\Zentri\\cabs").string();
}

}  // namespace zentri::test
