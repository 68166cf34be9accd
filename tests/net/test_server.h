#pragma once
// A real HTTP server on loopback for the transport tests, on a free port, with the kinds of
// answers the transport meets: bodies with and without Content-Length, chunked bodies, bodies
// cut short, error pages, and handlers that hold until the test opens their gate.
//
// Routes (N a byte count; bodies are Pattern(N)):
//   /bytes/N         Content-Length N
//   /chunked/N       chunked, no Content-Length
//   /nolength/N      no Content-Length, ended by closing the connection
//   /cut/N           announces N, sends N/2 and closes
//   /chunkedcut/N    chunked, sends N/2 and closes without the last chunk
//   /overlong        announces 10 bytes, sends a chunked body of 5000
//   /missing         404 with an HTML page
//   /stall/N         announces N, sends min(N/2, 4096) bytes, waits for gate "stall", sends the
//   rest /hold/NAME       waits for gate NAME, then answers "NAME" /silent          accepts and
//   never answers (until the server stops)
// Every request is logged (Arrivals) before its handler waits.

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zentri::test {

// Generous guard time for waits that should end at once.
constexpr std::chrono::seconds kGuard{30};

std::string Pattern(size_t size);

class TestServer {
  public:
    TestServer();
    ~TestServer();  // opens every gate, then stops the server

    std::u16string Url(const std::string& path) const;
    int Port() const { return port_; }

    void Open(const std::string& gate);
    // Waits until `count` requests for `path` have arrived; false after the guard time.
    bool WaitForArrivals(const std::string& path, size_t count);
    size_t Arrivals(const std::string& path);
    // A running number shared by arrivals and gate openings, to order them.
    uint64_t ArrivalSequence(const std::string& path);
    uint64_t OpenSequence(const std::string& gate);
    std::string LastMethod();

  private:
    void Routes();
    // Logs the arrival of `path`, then waits for `gate` (if not empty).
    void Arrive(const httplib::Request& req, const std::string& gate = {});
    // Waits for the gate; false when the server stops first.
    bool Wait(const std::string& gate);

    httplib::Server http_;
    int port_ = 0;
    std::thread thread_;

    std::mutex lock_;
    std::condition_variable changed_;
    bool stopping_ = false;
    uint64_t sequence_ = 0;
    std::map<std::string, uint64_t> opened_;             // gate -> sequence of its opening
    std::map<std::string, std::vector<uint64_t>> seen_;  // path -> sequences of arrivals
    std::string lastMethod_;
};

}  // namespace zentri::test
