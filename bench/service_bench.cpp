// The demo catalogue service under load on loopback, in-process with its default connection
// limits. Every run is bounded in requests and time and stops by itself.
//
//   KeepAlive/N      N client threads (1 and 8), each on one kept-alive connection, 500 "cats"
//                    requests each: requests per second and latency percentiles.
//   FreshConnections the same with a new connection per request (400 requests), for comparison.
//   UnderSlowClients 32 clients hold connections (arg 0: each has sent half a request; arg 1:
//                    each is an idle kept-alive connection) while 40 normal requests are made one
//                    after the other on new connections: their latency.
//
// Counters: req_per_s, p50_ms, p99_ms, max_ms, failures.
//   build/bench/service_bench

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server/http_frontend.h"
#include "server/service.h"

namespace {

namespace fs = std::filesystem;
using namespace zentri::server;
using Clock = std::chrono::steady_clock;

constexpr int kWorkers = 8;
constexpr int kKeptAliveRequests = 500;  // per worker
constexpr int kFreshRequests = 50;       // per worker
constexpr int kSlowClients = 32;
constexpr int kNormalRequests = 40;
constexpr time_t kClientTimeoutSeconds = 5;  // a stalled request counts as a failure

// The service on a free loopback port with a fresh data folder, for the whole program.
struct Service {
    Service() {
        char pattern[] = "/tmp/zentri-service-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        data = pattern;
        ServiceOptions options;
        options.dataDir = data / "data";
        options.assetsDir = ZENTRI_CATALOGUE_ASSETS;
        options.hashCost = HashCost::Minimal;
        service = std::make_unique<CatalogueService>(options);
        http = std::make_unique<HttpFrontend>(*service);
        port = http->Bind("127.0.0.1", 0);
        http->Start();
        httplib::Client client("127.0.0.1", port);
        auto reply = client.Get("/auth.php?login=demo&pass=demo1234");
        size_t id = reply ? reply->body.find("id=\"") : std::string::npos;
        if (id == std::string::npos) std::abort();
        session = reply->body.substr(id + 4, reply->body.find('"', id + 4) - (id + 4));
    }
    ~Service() {
        http.reset();
        service.reset();
        std::error_code ec;
        fs::remove_all(data, ec);
    }
    std::string Target() const { return "/cats.php?sessionid=" + session; }

    fs::path data;
    std::unique_ptr<CatalogueService> service;
    std::unique_ptr<HttpFrontend> http;
    int port = 0;
    std::string session;
};

Service& TheService() {
    static Service service;
    return service;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Percentiles and rates of one run, as counters.
void Report(benchmark::State& state, std::vector<double> latencies, int failures,
            Clock::duration total) {
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        if (latencies.empty()) return 0.0;
        return latencies[std::min(latencies.size() - 1,
                                  static_cast<size_t>(q * static_cast<double>(latencies.size())))];
    };
    state.SetIterationTime(std::chrono::duration<double>(total).count());
    state.counters["req_per_s"] =
        static_cast<double>(latencies.size()) / std::chrono::duration<double>(total).count();
    state.counters["p50_ms"] = at(0.50);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = latencies.empty() ? 0.0 : latencies.back();
    state.counters["failures"] = failures;
}

// `requests` requests from each of `workers` threads; kept alive or one connection each.
void Load(benchmark::State& state, int workers, int requests, bool keepAlive) {
    Service& s = TheService();
    for (auto _ : state) {
        std::vector<std::vector<double>> perWorker(static_cast<size_t>(workers));
        std::atomic<int> failures{0};
        Clock::time_point start = Clock::now();
        std::vector<std::thread> threads;
        for (int w = 0; w < workers; ++w)
            threads.emplace_back([&, w] {
                std::unique_ptr<httplib::Client> kept;
                for (int i = 0; i < requests; ++i) {
                    if (!kept || !keepAlive) {
                        kept = std::make_unique<httplib::Client>("127.0.0.1", s.port);
                        kept->set_keep_alive(keepAlive);
                        kept->set_read_timeout(kClientTimeoutSeconds, 0);
                    }
                    Clock::time_point sent = Clock::now();
                    auto reply = kept->Get(s.Target().c_str());
                    if (!reply || reply->status != 200) ++failures;
                    perWorker[w].push_back(Ms(Clock::now() - sent));
                }
            });
        for (std::thread& t : threads)
            t.join();
        Clock::duration total = Clock::now() - start;
        std::vector<double> all;
        for (auto& v : perWorker)
            all.insert(all.end(), v.begin(), v.end());
        Report(state, std::move(all), failures, total);
    }
}

// Arg: client threads.
void KeepAlive(benchmark::State& state) {
    Load(state, static_cast<int>(state.range(0)), kKeptAliveRequests, true);
}
BENCHMARK(KeepAlive)->Arg(1)->Arg(kWorkers)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);

void FreshConnections(benchmark::State& state) {
    Load(state, kWorkers, kFreshRequests, false);
}
BENCHMARK(FreshConnections)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int Connect(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A client that holds a connection: half a request sent, or one whole request answered and the
// connection kept idle.
int SlowClient(const Service& s, bool idle) {
    int fd = Connect(s.port);
    if (fd < 0) return -1;
    std::string request = "GET " + s.Target() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (idle) request += "\r\n";
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) < 0) return fd;
    if (idle) {
        // Reads the answer (its head says how long the body is) so the connection is idle.
        std::string got;
        char buffer[4096];
        size_t need = std::string::npos;
        while (got.size() < need) {
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
            size_t end = got.find("\r\n\r\n");
            size_t length = got.find("Content-Length: ");
            if (end != std::string::npos && length != std::string::npos)
                need = end + 4 + std::stoul(got.substr(length + 16));
        }
    }
    return fd;
}

void UnderSlowClients(benchmark::State& state) {
    Service& s = TheService();
    bool idle = state.range(0) == 1;
    for (auto _ : state) {
        std::vector<int> held;
        for (int i = 0; i < kSlowClients; ++i)
            held.push_back(SlowClient(s, idle));
        std::vector<double> latencies;
        int failures = 0;
        Clock::time_point start = Clock::now();
        for (int i = 0; i < kNormalRequests; ++i) {
            httplib::Client client("127.0.0.1", s.port);
            client.set_read_timeout(kClientTimeoutSeconds, 0);
            Clock::time_point sent = Clock::now();
            auto reply = client.Get(s.Target().c_str());
            if (!reply || reply->status != 200) ++failures;
            latencies.push_back(Ms(Clock::now() - sent));
        }
        Clock::duration total = Clock::now() - start;
        for (int fd : held)
            if (fd >= 0) close(fd);
        Report(state, std::move(latencies), failures, total);
    }
}
BENCHMARK(UnderSlowClients)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
