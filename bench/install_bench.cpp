// Installing large packages with the installer (in process, as wceload runs it):
//   BM_InstallFiles/N          a package of N small files in one folder;
//   BM_InstallRegistryKeys/N   a package of N registry keys holding one value each.
// Every iteration installs into a fresh device; the package is built once with gcab.
// While the registry package installs, another process writes the registry again and again;
// the counter other_writer_max_s is the longest of those writes (the longest wait for the
// registry), other_writer_failed the number that gave up (locked past the busy time-out).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/registry.h"
#include "tools/wceload/installer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kCab = "\\bench.cab";

// Runs a program with its output discarded; its exit code, -1 when it did not end normally.
int RunQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zentri-install-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// Builds the package's CAB (uncompressed, for a quick build) from the install document and
// `count` stored files with the given names; false when gcab fails.
bool MakeCab(const fs::path& cab, const fs::path& work, const std::string& setupXml,
             const std::vector<std::string>& stored) {
    fs::create_directories(work);
    std::vector<std::string> args = {GCAB_EXECUTABLE, "--create", "--nopath", cab.string()};
    std::ofstream(work / "_setup.xml") << setupXml;
    args.push_back((work / "_setup.xml").string());
    for (const std::string& name : stored) {
        std::ofstream(work / name) << name;
        args.push_back((work / name).string());
    }
    return RunQuietly(args) == 0;
}

std::string Document(const std::string& body) {
    return "<wap-provisioningdoc>\n<characteristic type=\"Install\">\n"
           "<parm name=\"AppName\" value=\"Bench\" />\n"
           "<parm name=\"InstallDir\" value=\"%CE1%\\Bench\" translation=\"install\" />\n"
           "</characteristic>\n" +
           body + "</wap-provisioningdoc>\n";
}

std::string Numbered(const char* prefix, int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d", prefix, i);
    return text;
}

// Installs the CAB at `cab` into a fresh device per iteration; `before` and `after` run
// untimed around each install.
template <class Before, class After>
void InstallEachIteration(benchmark::State& state, const fs::path& cab, Before before,
                          After after) {
    BenchFolder devices;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::path root = devices.Path() / std::to_string(n++);
        fs::create_directories(root);
        fs::copy_file(cab, root / "bench.cab");
        setenv("ZENTRI_DEVICE_ROOT", root.c_str(), 1);
        before();
        state.ResumeTiming();
        wceload::InstallResult result = wceload::InstallCab(kCab);
        state.PauseTiming();
        after();
        std::error_code ec;
        fs::remove_all(root, ec);
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        state.ResumeTiming();
    }
}

// Another process of the device writing the registry in a loop, as a tool or the client does,
// for as long as an install runs: how long its longest write took, and how many failed.
struct OtherWriter {
    double longest = 0;
    int writes = 0, failed = 0;

    // Forks the writer (from the only thread of the benchmark, so the child inherits no lock).
    void Start() {
        int stop[2], report[2];
        if (pipe(stop) != 0 || pipe(report) != 0) return;
        child_ = fork();
        if (child_ == 0) {
            close(stop[1]);
            close(report[0]);
            Write(stop[0], report[1]);
            _exit(0);
        }
        close(stop[0]);
        close(report[1]);
        stop_ = stop[1], report_ = report[0];
    }

    void Stop() {
        if (child_ <= 0) return;
        close(stop_);
        Result r;
        if (read(report_, &r, sizeof r) == sizeof r) {
            longest = std::max(longest, r.longest);
            writes += r.writes;
            failed += r.failed;
        }
        close(report_);
        waitpid(child_, nullptr, 0);
        child_ = 0;
    }

  private:
    pid_t child_ = 0;
    int stop_ = -1, report_ = -1;

    struct Result {
        double longest = 0;
        int writes = 0, failed = 0;
    };

    // In the child: writes until the stop pipe is closed, then reports.
    static void Write(int stop, int report) {
        Result r;
        pollfd ended = {stop, POLLIN, 0};
        for (uint32_t i = 0; poll(&ended, 1, 0) == 0; ++i) {
            Clock::time_point start = Clock::now();
            platform::RegKey key;
            bool ok =
                platform::RegKey::Create("\\Software\\Other", key) == platform::RegResult::Ok &&
                key.SetDword("Count", i) == platform::RegResult::Ok;
            r.longest =
                std::max(r.longest, std::chrono::duration<double>(Clock::now() - start).count());
            ++r.writes;
            if (!ok) ++r.failed;
        }
        (void)!write(report, &r, sizeof r);
    }
};

void BM_InstallFiles(benchmark::State& state) {
    BenchFolder work;
    std::string files;
    std::vector<std::string> stored;
    for (int i = 0; i < state.range(0); ++i) {
        stored.push_back(Numbered("F", i));
        // Short, so that 8000 of them stay below the installer's limit of 1 MiB for the
        // document.
        files += "<characteristic type=\"" + Numbered("f", i) +
                 "\"><characteristic type=\"Extract\"><parm name=\"Source\" value=\"" +
                 stored.back() + "\"/></characteristic></characteristic>";
    }
    std::string body =
        "<characteristic type=\"FileOperation\">\n"
        "<characteristic type=\"%InstallDir%\" translation=\"install\">\n"
        "<characteristic type=\"MakeDir\" />\n" +
        files + "</characteristic>\n</characteristic>\n";
    fs::path cab = work.Path() / "bench.cab";
    if (!MakeCab(cab, work.Path() / "source", Document(body), stored)) {
        state.SkipWithError("gcab failed");
        return;
    }
    InstallEachIteration(
        state, cab, [] {}, [] {});
}

void BM_InstallRegistryKeys(benchmark::State& state) {
    BenchFolder work;
    // Nested below one parent, so that 9000 of them stay below the installer's limit of 1 MiB
    // for the document.
    std::string keys;
    for (int i = 0; i < state.range(0); ++i)
        keys += "<characteristic type=\"" + Numbered("Key", i) +
                "\"><parm name=\"Value\" value=\"" + std::to_string(i) +
                "\" datatype=\"integer\"/></characteristic>";
    std::string body =
        "<characteristic type=\"Registry\"><characteristic type=\"HKLM\\Software\\Bench\">" + keys +
        "</characteristic></characteristic>\n";
    fs::path cab = work.Path() / "bench.cab";
    if (!MakeCab(cab, work.Path() / "source", Document(body), {})) {
        state.SkipWithError("gcab failed");
        return;
    }
    OtherWriter other;
    InstallEachIteration(
        state, cab, [&] { other.Start(); }, [&] { other.Stop(); });
    state.counters["other_writer_max_s"] = other.longest;
    state.counters["other_writer_writes"] = other.writes;
    state.counters["other_writer_failed"] = other.failed;
}

BENCHMARK(BM_InstallFiles)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_InstallRegistryKeys)
    ->Arg(1000)
    ->Arg(9000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
