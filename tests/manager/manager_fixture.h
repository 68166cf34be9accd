#pragma once
// Shared by the application-management tests: a fresh device with the manager started on it,
// a catalogue stand-in on loopback that answers "appdetails" and "download" and counts what it
// is asked, installer stand-ins written as small scripts, and a log of an App's StatusChanged
// calls that a test can wait on.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "manager/app.h"
#include "manager/app_manager.h"
#include "tests/core/session_support.h"
#include "tests/support/temp_device.h"

namespace zentri::test {

inline constexpr const char* kSession = "5e55";
inline constexpr std::chrono::seconds kGuard{60};  // a failure guard, never a pace

// What the catalogue stand-in knows about one application.
struct CatalogueEntry {
    CatalogueEntry() = default;
    CatalogueEntry(int32_t id, std::string sysid, int32_t revision, std::string version = "1.0",
                   std::string install = "")
        : id(id),
          sysid(std::move(sysid)),
          revision(revision),
          version(std::move(version)),
          install(std::move(install)) {}

    int32_t id = 0;
    std::string sysid;
    int32_t revision = 0;
    std::string version = "1.0";
    std::string exe;
    std::string install;
    std::string cab;  // the download's body; empty: 404
};

class FakeCatalogue {
  public:
    FakeCatalogue();
    ~FakeCatalogue();

    void Add(const CatalogueEntry& entry);
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    // The request targets received so far, and how many of them were for `name`.php.
    std::vector<std::string> Targets();
    int Count(const std::string& name);

  private:
    void Answer(const std::string& name, const httplib::Request& req, httplib::Response& res);

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex mutex_;
    std::map<std::string, CatalogueEntry> bySysid_;
    std::vector<std::string> targets_;
};

// The app element of the catalogue stand-in's answers.
std::string AppElement(const CatalogueEntry& e);

// Every StatusChanged call of the apps it is attached to.
class StatusLog {
  public:
    struct Entry {
        App* app;
        App::AppStatusType type;
        bool finished;
        double progress;
        bool success;
    };

    // Under appLock. Only calls from now on count for this app (a new record may take the
    // address of one that has gone).
    void Attach(App& app);
    // Waits until an entry for `type` with finished set has arrived for `app`; its success.
    bool WaitEnd(App& app, App::AppStatusType type);
    // "D0 D1 Dt I0 It" style summary of one app's calls: the activity letter, then 0 for a
    // start, p for progress, t/f for an end with success true/false.
    std::string Summary(App& app);

  private:
    void OnStatus(App* app, App::AppStatusType type, bool finished, double progress, bool ok);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::map<App*, size_t> attachedAt_;
};

// The first chunk written to a FIFO (empty after the failure guard).
std::string ReadFifo(const std::filesystem::path& fifo);

// Builds a CAB at a device path with gcab; stored name -> content.
void MakeCab(const std::string& cabDevicePath, const std::map<std::string, std::string>& files);

// A worker reports its end and leaves the queue within one hold of appLock: once a test has
// seen the end, taking appLock once waits for the rest of that hold.
void Settle();

class ManagerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    AppManager& Manager() { return AppManager::Instance(); }

    // An installer stand-in at \Windows\wceload.exe: logs its arguments and the program's own
    // revision it sees; for a CAB with a "block" line, writes a line to the FIFO "started" in
    // the device root and waits for one from the FIFO "go"; registers the key named by the
    // CAB's "key=" line, if any, with the commit number of its "commit=" line, if any.
    void StageTestInstaller();
    // A CAB for the stand-in: registers `sysid`, or nothing when empty.
    static std::string FakeCab(const std::string& sysid, bool block = false) {
        return "key=" + sysid + "\n" + (block ? "block\n" : "");
    }
    // Makes the FIFOs; WaitStarted reads "started" (false after the failure guard), Go writes
    // "go".
    void MakeFifos();
    bool WaitStarted();
    void Go();
    // The stand-in's log lines.
    std::vector<std::string> InstallerLog();

    // An installed application as the installer would leave it.
    void Register(const std::string& sysid, int32_t revision = -1,
                  const std::vector<std::string>& executables = {});
    int32_t RegistryRevision(const std::string& sysid);

    // Checks for updates and waits for the details answers of the apps not asked before.
    void CheckAndWait();

    // An App as a catalogue answer gives it.
    static shared_ptr<App> CatalogueApp(const CatalogueEntry& e);

    std::string CabFolderHost();

    TempDevice device;
    ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
    FakeCatalogue catalogue;
    RecordingApp app;
    StatusLog log;
    std::vector<std::string> debugLines;
    std::mutex debugMutex;
};

}  // namespace zentri::test
