#pragma once
// One client connection of the service, between the watcher that waits for its requests and the
// worker that answers one: the socket, the bytes received and not yet read, and the deadline of
// what it is waiting for. The stream is how the HTTP layer reads a request from it and writes
// the response.

#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>

namespace zentri::server {

using SteadyClock = std::chrono::steady_clock;

struct Connection {
    explicit Connection(int fd) : fd(fd) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Received bytes from `consumed` on are not read yet.
    size_t Unread() const { return received.size() - consumed; }
    std::string_view UnreadBytes() const { return std::string_view(received).substr(consumed); }
    // Drops what has been read (after a request).
    void Compact();

    int fd;
    std::string received;
    size_t consumed = 0;
    // Waiting for the first byte of its next request (a kept-alive connection) rather than for
    // the rest of one.
    bool idle = false;
    SteadyClock::time_point deadline;
    size_t served = 0;  // requests answered
};

using ConnectionPtr = std::unique_ptr<Connection>;

// Reads first what the watcher received, then the socket until the request's deadline; writes
// with the write limit for each wait.
class ConnectionStream : public httplib::Stream {
  public:
    ConnectionStream(Connection& connection, std::chrono::milliseconds writeLimit)
        : c_(connection), writeLimit_(writeLimit) {}

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    int socket() const override { return c_.fd; }

  private:
    Connection& c_;
    std::chrono::milliseconds writeLimit_;
};

}  // namespace zentri::server
