// An application's whole life on the emulated device, against the demo catalogue service with
// its real packages, the real installer and the configuration manager: signed in and
// configured, installed at its previous revision, found out of date, updated, started and
// uninstalled, with the registry and the files checked at each step.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>

#include "app/kestro.h"
#include "manager/app_manager.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/inet_manager.h"
#include "net/xml_response.h"
#include "net/xml_response_appdetails.h"
#include "net/xml_response_auth.h"
#include "platform/device_program.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "server/http_frontend.h"
#include "server/service.h"
#include "tests/core/session_support.h"
#include "tests/e2e/exchange.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kGuard = 60s;  // a failure guard, never a pace
constexpr const char* kKey = "\\Security\\AppInstall\\Brightleaf Notes";
constexpr const char* kExe = "\\Program Files\\Brightleaf\\Notes\\notes.exe";

// The demo service in this process, on a free loopback port, with a fresh data folder.
class DemoService {
  public:
    DemoService() {
        char pattern[] = "/tmp/zentri-e2e-XXXXXX";
        data_ = mkdtemp(pattern);
        server::ServiceOptions options;
        options.dataDir = data_ / "data";
        options.assetsDir = ZENTRI_CATALOGUE_ASSETS;
        options.hashCost = server::HashCost::Minimal;
        service_ = std::make_unique<server::CatalogueService>(options);
        http_ = std::make_unique<server::HttpFrontend>(*service_);
        port_ = http_->Bind("127.0.0.1", 0);
        http_->Start();
    }
    ~DemoService() {
        http_.reset();
        service_.reset();
        std::error_code ec;
        fs::remove_all(data_, ec);
    }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int Port() const { return port_; }

  private:
    fs::path data_;
    std::unique_ptr<server::CatalogueService> service_;
    std::unique_ptr<server::HttpFrontend> http_;
    int port_ = -1;
};

using test::Call;
using test::Exchange;

// Waits for the end of one activity of an app; its success.
class ActivityEnd {
  public:
    ActivityEnd(App& app, App::AppStatusType type) : app_(&app), type_(type) {
        std::lock_guard<AppLockType> lock(AppLock());
        app.StatusChanged.Add(this, &ActivityEnd::OnStatus);
    }
    ~ActivityEnd() {
        std::lock_guard<AppLockType> lock(AppLock());
        app_->StatusChanged.Remove(this, &ActivityEnd::OnStatus);
    }
    bool Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        EXPECT_TRUE(done_.wait_for(lock, kGuard, [&] { return ended_; })) << "activity " << type_;
        lock.unlock();
        std::lock_guard<AppLockType> settle(AppLock());  // the worker's report is complete
        return success_;
    }

  private:
    void OnStatus(App*, App::AppStatusType type, bool finished, double, bool success) {
        if (type != type_ || !finished) return;
        std::lock_guard<std::mutex> lock(mutex_);
        ended_ = true;
        success_ = success;
        done_.notify_all();
    }
    App* app_;
    App::AppStatusType type_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool ended_ = false, success_ = false;
};

std::string RegString(const std::string& key, const std::string& name) {
    platform::RegKey k;
    std::string text;
    if (platform::RegKey::Open(key, k) != platform::RegResult::Ok ||
        k.QueryString(name, text) != platform::RegResult::Ok)
        return "<missing>";
    return text;
}

int64_t RegDword(const std::string& key, const std::string& name) {
    platform::RegKey k;
    uint32_t value = 0;
    if (platform::RegKey::Open(key, k) != platform::RegResult::Ok ||
        k.QueryDword(name, value) != platform::RegResult::Ok)
        return -1;
    return value;
}

bool KeyExists(const std::string& key) {
    platform::RegKey k;
    return platform::RegKey::Open(key, k) == platform::RegResult::Ok;
}

class InstallEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        test::LoadLocalization(device, service.Base());
        test::ResetSession();
        Kestro::Instance().app = &app;
        ASSERT_TRUE(platform::StageInstaller());
        AppManager::Instance().Start();
        // The opener: a script that hands the path it was given to the test through a FIFO.
        ASSERT_EQ(mkfifo((device.Root() / "opened").c_str(), 0600), 0);
        opener = device.Root() / "opener.sh";
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" > '"
                              << (device.Root() / "opened").string() << "'\n";
        fs::permissions(opener, fs::perms::owner_all, fs::perm_options::add);
        openEnv.emplace("ZENTRI_OPEN", opener.c_str());
    }
    void TearDown() override {
        InetManager::Instance().Shutdown();
        AppManager::Instance().Shutdown();
        test::ResetSession();
    }

    // The line the opener received (the host path it was asked to open).
    std::string Opened() {
        int fd = open((device.Root() / "opened").c_str(), O_RDONLY | O_NONBLOCK);
        pollfd p{fd, POLLIN, 0};
        std::string line;
        if (poll(&p, 1, static_cast<int>(kGuard / 1ms)) == 1) {
            char buffer[4096];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) line.assign(buffer, static_cast<size_t>(n));
        }
        close(fd);
        return line;
    }

    test::TempDevice device;
    test::ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
    DemoService service;
    test::RecordingApp app;
    fs::path opener;
    std::optional<test::ScopedEnv> openEnv;
};

TEST_F(InstallEndToEnd, FromThePreviousRevisionToUpdatedRunAndRemoved) {
    AppManager& manager = AppManager::Instance();
    Kestro& k = Kestro::Instance();

    // Sign in and configure.
    std::u16string session;
    XMLResponse_Auth auth(session);
    ASSERT_EQ(Call([] { return api::Send(api::AuthUrl(u"demo", u"demo1234")); }, auth), 0);
    k.SetSessionId(session);
    XMLResponse_Config config;
    ASSERT_EQ(Call([&] { return k.BuildConfigRequest(); }, config), 0);

    // The catalogue's record: revision 5, its CAB named by the catalogue.
    shared_ptr<App> notes = MakeShared<App>();
    XMLResponse_AppDetails details(*notes);
    ASSERT_EQ(Call([&] { return api::Send(api::AppDetailsUrl(session, 2)); }, details), 0);
    ASSERT_EQ(notes->sysid, u"Brightleaf Notes");
    ASSERT_EQ(notes->revision, 5);

    // The previous revision, fetched from the service's package folder into the cabs folder and
    // installed as revision 4.
    const std::u16string oldCab = manager.GetCabFolder() + u"\\brightleaf-notes-r4.cab";
    bool fetched = false;
    ASSERT_TRUE(Exchange(
        [&] {
            return InetManager::Instance().Request(
                platform::Utf8ToUtf16(service.Base()) + u"packages/brightleaf-notes-r4.cab", false,
                oldCab);
        },
        [&](HttpRequest*, bool ok) { fetched = ok; }));
    ASSERT_TRUE(fetched);
    shared_ptr<App> previous = MakeShared<App>(u"Brightleaf Notes");
    previous->revision = 4;
    {
        ActivityEnd installed(*previous, App::Installing);
        previous->Install(oldCab);
        EXPECT_TRUE(installed.Wait());
    }
    EXPECT_EQ(RegDword(kKey, "ZentriRevision"), 4);
    EXPECT_EQ(RegString("\\Software\\Brightleaf\\Notes", "Version"), "2.0");
    EXPECT_NE(device.ReadFile(kExe).find("revision 4"), std::string::npos);
    EXPECT_TRUE(device.Exists("\\My Documents\\Notes\\Welcome.txt"));
    EXPECT_TRUE(device.Exists("\\Windows\\Start Menu\\Programs\\Notes.lnk"));
    EXPECT_FALSE(device.Exists(platform::Utf16ToUtf8(oldCab)));  // disposed of

    // The next run finds it installed and out of date.
    manager.Start();
    ASSERT_TRUE(manager.HasInstalled(u"Brightleaf Notes"));
    shared_ptr<App> installed = manager.GetInstalled().at(u"Brightleaf Notes");
    {
        ActivityEnd checked(*installed, App::LoadingDetails);
        manager.CheckUpdates();
        EXPECT_TRUE(checked.Wait());
    }
    EXPECT_EQ(manager.GetPendingUpdates(), 1);
    EXPECT_EQ(installed->revision, 5);

    // Update to the catalogue's revision.
    {
        ActivityEnd updated(*installed, App::Installing);
        manager.Update(installed);
        EXPECT_TRUE(updated.Wait());
    }
    EXPECT_EQ(manager.GetPendingUpdates(), 0);
    EXPECT_EQ(RegDword(kKey, "ZentriRevision"), 5);
    EXPECT_EQ(RegString("\\Software\\Brightleaf\\Notes", "Version"), "2.1");
    EXPECT_NE(device.ReadFile(kExe).find("revision 5"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(platform::HostPath(platform::Utf16ToUtf8(manager.GetCabFolder()))));

    // Found by its name and through its shortcut, and started through the shell.
    EXPECT_EQ(manager.FindExecutable(u"Brightleaf Notes", u"notes.exe"),
              platform::Utf8ToUtf16(kExe));
    EXPECT_EQ(manager.FindExecutable(u"Brightleaf Notes", u""), platform::Utf8ToUtf16(kExe));
    manager.Run(u"Brightleaf Notes", installed->exe);
    EXPECT_EQ(Opened(), platform::HostPath(kExe).string() + "\n");

    // Uninstalled through the configuration manager: everything the package brought goes.
    {
        ActivityEnd removed(*installed, App::Uninstalling);
        installed->Uninstall();
        EXPECT_TRUE(removed.Wait());
    }
    EXPECT_FALSE(manager.HasInstalled(u"Brightleaf Notes"));
    EXPECT_FALSE(KeyExists(kKey));
    EXPECT_FALSE(KeyExists("\\Software\\Brightleaf\\Notes"));
    EXPECT_FALSE(device.Exists(kExe));
    EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Programs\\Notes.lnk"));
    EXPECT_FALSE(device.Exists("\\My Documents\\Notes\\Welcome.txt"));
    EXPECT_EQ(manager.FindExecutable(u"Brightleaf Notes", u""), u"");
    EXPECT_EQ(app.rebuilds,
              (std::vector<int>{KestroApp::kRebuildAfterInstall, KestroApp::kRebuildAfterInstall,
                                KestroApp::kRebuildAfterUninstall}));
}

}  // namespace
}  // namespace zentri
