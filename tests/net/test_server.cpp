#include "tests/net/test_server.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text.h"

namespace zentri::test {
namespace {

constexpr size_t kPeriod = 251;  // the pattern repeats every kPeriod bytes

// One period plus room for the longest slice taken at once.
const std::string& PatternBase() {
    static const std::string base = [] {
        std::string s(kPeriod + 65536, '\0');
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char>((i * 7 + 3) % kPeriod);
        return s;
    }();
    return base;
}

std::string PatternSlice(size_t offset, size_t length) {
    std::string s;
    s.reserve(length);
    while (s.size() < length) {
        size_t start = (offset + s.size()) % kPeriod;
        s.append(PatternBase(), start, std::min<size_t>(65536, length - s.size()));
    }
    return s;
}

size_t Number(const httplib::Request& req) {
    return std::stoul(req.matches[1].str());
}

constexpr size_t kPiece = 4096;

}  // namespace

std::string Pattern(size_t size) {
    return PatternSlice(0, size);
}

TestServer::TestServer() {
    http_.new_task_queue = [] { return new httplib::ThreadPool(24); };
    // One request per connection, so that a body without length ends with its connection at
    // once (libcurl does not reuse connections across transfers anyway).
    http_.set_keep_alive_max_count(1);
    Routes();
    port_ = http_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind the test server");
    thread_ = std::thread([this] { http_.listen_after_bind(); });
    // stop() only works on a running server; the socket already accepts connections.
    auto deadline = std::chrono::steady_clock::now() + kGuard;
    while (!http_.is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

TestServer::~TestServer() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    http_.stop();
    thread_.join();
}

std::u16string TestServer::Url(const std::string& path) const {
    return platform::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(port_) + path);
}

void TestServer::Open(const std::string& gate) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        opened_[gate] = ++sequence_;
    }
    changed_.notify_all();
}

bool TestServer::WaitForArrivals(const std::string& path, size_t count) {
    std::unique_lock<std::mutex> lock(lock_);
    return changed_.wait_for(lock, kGuard, [&] { return seen_[path].size() >= count; });
}

size_t TestServer::Arrivals(const std::string& path) {
    std::lock_guard<std::mutex> lock(lock_);
    return seen_[path].size();
}

uint64_t TestServer::ArrivalSequence(const std::string& path) {
    std::lock_guard<std::mutex> lock(lock_);
    return seen_[path].empty() ? 0 : seen_[path].front();
}

uint64_t TestServer::OpenSequence(const std::string& gate) {
    std::lock_guard<std::mutex> lock(lock_);
    return opened_.count(gate) ? opened_[gate] : 0;
}

std::string TestServer::LastMethod() {
    std::lock_guard<std::mutex> lock(lock_);
    return lastMethod_;
}

void TestServer::Arrive(const httplib::Request& req, const std::string& gate) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        seen_[req.path].push_back(++sequence_);
        lastMethod_ = req.method;
    }
    changed_.notify_all();
    if (!gate.empty()) Wait(gate);
}

bool TestServer::Wait(const std::string& gate) {
    std::unique_lock<std::mutex> lock(lock_);
    changed_.wait(lock, [&] { return stopping_ || opened_.count(gate) > 0; });
    return !stopping_;
}

void TestServer::Routes() {
    using httplib::DataSink;
    using httplib::Request;
    using httplib::Response;
    const char* kType = "application/octet-stream";

    http_.Get(R"(/bytes/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        res.set_content(Pattern(Number(req)), kType);
    });
    http_.Get(R"(/chunked/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        size_t size = Number(req);
        res.set_chunked_content_provider(kType, [size](size_t offset, DataSink& sink) {
            if (offset >= size) {
                sink.done();
                return true;
            }
            std::string piece = PatternSlice(offset, std::min(kPiece - 1000, size - offset));
            return sink.write(piece.data(), piece.size());
        });
    });
    http_.Get(R"(/nolength/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        size_t size = Number(req);
        res.set_content_provider(kType, [size](size_t offset, DataSink& sink) {
            if (offset >= size) {
                sink.done();
                return true;
            }
            std::string piece = PatternSlice(offset, std::min(kPiece, size - offset));
            return sink.write(piece.data(), piece.size());
        });
    });
    http_.Get(R"(/cut/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        size_t size = Number(req);
        res.set_content_provider(size, kType, [size](size_t offset, size_t, DataSink& sink) {
            if (offset >= size / 2) return false;  // closes the connection
            std::string piece = PatternSlice(offset, std::min(kPiece, size / 2 - offset));
            return sink.write(piece.data(), piece.size());
        });
    });
    http_.Get(R"(/chunkedcut/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        size_t size = Number(req);
        res.set_chunked_content_provider(kType, [size](size_t offset, DataSink& sink) {
            if (offset >= size / 2) return false;  // closes without the last chunk
            std::string piece = PatternSlice(offset, std::min(kPiece, size / 2 - offset));
            return sink.write(piece.data(), piece.size());
        });
    });
    http_.Get("/overlong", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        res.set_header("Content-Length", "10");
        res.set_chunked_content_provider(kType, [](size_t offset, DataSink& sink) {
            if (offset >= 5000) {
                sink.done();
                return true;
            }
            std::string piece = PatternSlice(offset, 1000);
            return sink.write(piece.data(), piece.size());
        });
    });
    http_.Get("/missing", [this](const Request& req, Response& res) {
        Arrive(req);
        res.status = 404;
        res.set_content("<html><body>Not Found</body></html>", "text/html");
    });
    http_.Get(R"(/stall/(\d+))", [this, kType](const Request& req, Response& res) {
        Arrive(req);
        size_t size = Number(req);
        size_t first = std::min(size / 2, kPiece);
        res.set_content_provider(
            size, kType, [this, size, first](size_t offset, size_t, DataSink& sink) {
                if (offset >= first && !Wait("stall")) return false;
                size_t end = offset < first ? first : size;
                std::string piece = PatternSlice(offset, std::min(kPiece, end - offset));
                return sink.write(piece.data(), piece.size());
            });
    });
    http_.Get(R"(/hold/(\w+))", [this](const Request& req, Response& res) {
        std::string name = req.matches[1].str();
        Arrive(req, name);
        res.set_content(name, "text/plain");
    });
    http_.Get("/silent", [this](const Request& req, Response&) { Arrive(req, "silent"); });
}

}  // namespace zentri::test
