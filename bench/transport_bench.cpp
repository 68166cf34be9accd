// Five concurrent file downloads of 20 MiB each from a loopback server: the transport (2048-byte
// reads, a progress call after each) against the curl program fetching the same five files in
// parallel, in the same run. Reported per iteration pair:
//   transport_MiBps, curl_MiBps, ratio (transport / curl throughput),
//   transport_cpu_ms_per_MiB, curl_cpu_ms_per_MiB (user + system time of the downloading side).
// The server runs in a process of its own, so that neither side's CPU time includes it.
// Arg 0: five curl processes at once; arg 1: one curl process with --parallel.

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "net/inet_manager.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/app_lock.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace zentri;

constexpr int kFiles = 5;
constexpr size_t kFileSize = 20 * 1024 * 1024;
constexpr double kMiB = 1024.0 * 1024.0;

pid_t serverPid = 0;
int serverPort = 0;

// Serves /file/<n>: kFileSize bytes with Content-Length. Runs in a child process started before
// any thread exists; reports its port through the pipe.
[[noreturn]] void ServeFiles(int portPipe) {
    static const std::string content = [] {
        std::string s(kFileSize, '\0');
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char>(i * 131 + 7);
        return s;
    }();
    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(8); };
    server.Get(R"(/file/(\d+))", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(content.size(), "application/octet-stream",
                                 [](size_t offset, size_t length, httplib::DataSink& sink) {
                                     size_t n = std::min<size_t>(length, 256 * 1024);
                                     return sink.write(content.data() + offset, n);
                                 });
    });
    int port = server.bind_to_any_port("127.0.0.1");
    if (write(portPipe, &port, sizeof port) != sizeof port) _exit(1);
    close(portPipe);
    server.listen_after_bind();
    _exit(0);
}

void StartServer() {
    int fds[2];
    if (pipe(fds) != 0) std::abort();
    serverPid = fork();
    if (serverPid == 0) {
        prctl(PR_SET_NAME, "bench-server");  // told apart from the transport in profiles
        close(fds[0]);
        ServeFiles(fds[1]);
    }
    close(fds[1]);
    if (read(fds[0], &serverPort, sizeof serverPort) != sizeof serverPort) std::abort();
    close(fds[0]);
}

void StopServer() {
    kill(serverPid, SIGTERM);
    waitpid(serverPid, nullptr, 0);
}

std::string FileUrl(int i) {
    return "http://127.0.0.1:" + std::to_string(serverPort) + "/file/" + std::to_string(i);
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Phase {
    double seconds = 0;
    double cpu = 0;
};

template <class F>
Phase Measure(int who, F run) {
    double cpu = CpuSeconds(who);
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), CpuSeconds(who) - cpu};
}

// The five downloads through the transport, each with a progress handler as the program has.
bool TransportDownloads(int64_t& progressCalls) {
    std::mutex lock;
    std::condition_variable done;
    int ended = 0;
    bool ok = true;
    std::vector<shared_ptr<HttpRequest>> requests;
    {
        std::lock_guard<AppLockType> app(AppLock());
        for (int i = 0; i < kFiles; ++i) {
            std::u16string path = u"\\bench\\t" + platform::IntToText(i) + u".bin";
            auto request =
                InetManager::Instance().Request(platform::Utf8ToUtf16(FileUrl(i)), false, path);
            request->Progress().Add([&](HttpRequest*, double) { ++progressCalls; });
            request->Completion().Add([&](HttpRequest* r, bool result) {
                std::lock_guard<std::mutex> guard(lock);
                ok = ok && result && r->Size() == static_cast<int32_t>(kFileSize);
                ++ended;
                done.notify_all();
            });
            requests.push_back(request);
        }
    }
    std::unique_lock<std::mutex> guard(lock);
    done.wait(guard, [&] { return ended == kFiles; });
    return ok;
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

bool CurlDownloads(bool oneProcess) {
    fs::path folder = platform::HostPath("\\bench");
    std::vector<pid_t> pids;
    if (oneProcess) {
        std::vector<std::string> args = {"curl",
                                         "-s",
                                         "-S",
                                         "-f",
                                         "--noproxy",
                                         "*",
                                         "--no-progress-meter",
                                         "--parallel",
                                         "--parallel-max",
                                         "5"};
        for (int i = 0; i < kFiles; ++i) {
            args.push_back("-o");
            args.push_back((folder / ("c" + std::to_string(i) + ".bin")).string());
            args.push_back(FileUrl(i));
        }
        pids.push_back(Spawn(args));
    } else {
        for (int i = 0; i < kFiles; ++i)
            pids.push_back(
                Spawn({"curl", "-s", "-S", "-f", "--noproxy", "*", "-o",
                       (folder / ("c" + std::to_string(i) + ".bin")).string(), FileUrl(i)}));
    }
    bool ok = true;
    for (pid_t pid : pids) {
        int status = 0;
        ok = ok && pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
             WEXITSTATUS(status) == 0;
    }
    return ok;
}

void ClearFolder() {
    fs::path folder = platform::HostPath("\\bench");
    fs::remove_all(folder);
    fs::create_directories(folder);
}

void BM_FiveFileDownloads(benchmark::State& state) {
    const bool oneCurlProcess = state.range(0) == 1;
    const double mib = kFiles * kFileSize / kMiB;
    Phase transport, curl;
    int64_t progressCalls = 0;
    for (auto _ : state) {
        ClearFolder();
        Phase t = Measure(RUSAGE_SELF, [&] {
            if (!TransportDownloads(progressCalls)) state.SkipWithError("transport failed");
        });
        ClearFolder();
        Phase c = Measure(RUSAGE_CHILDREN, [&] {
            if (!CurlDownloads(oneCurlProcess)) state.SkipWithError("curl failed");
        });
        state.SetIterationTime(t.seconds);
        transport.seconds += t.seconds, transport.cpu += t.cpu;
        curl.seconds += c.seconds, curl.cpu += c.cpu;
    }
    ClearFolder();
    double n = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(n * kFiles * kFileSize));
    state.counters["transport_MiBps"] = mib * n / transport.seconds;
    state.counters["curl_MiBps"] = mib * n / curl.seconds;
    state.counters["ratio"] = curl.seconds / transport.seconds;
    state.counters["transport_cpu_ms_per_MiB"] = 1000 * transport.cpu / (mib * n);
    state.counters["curl_cpu_ms_per_MiB"] = 1000 * curl.cpu / (mib * n);
    state.counters["progress_calls"] = static_cast<double>(progressCalls) / n;
}
BENCHMARK(BM_FiveFileDownloads)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    StartServer();  // before any thread of this process exists
    fs::path root = fs::temp_directory_path() / ("zentri-bench-" + std::to_string(getpid()));
    fs::create_directories(root);
    setenv("ZENTRI_DEVICE_ROOT", root.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    InetManager::Instance().Shutdown();
    StopServer();
    fs::remove_all(root);
    return 0;
}
