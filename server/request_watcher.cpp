#include "server/request_watcher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "platform/text.h"

namespace zentri::server {
namespace {

// Beyond this a head is handed over unfinished: the HTTP layer refuses it (414, 431, 400).
constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kReadSize = 16 * 1024;

// The value of a header in a request head, or nothing.
std::optional<std::string_view> Header(std::string_view head, std::string_view name) {
    size_t line = head.find("\r\n");
    while (line != std::string_view::npos) {
        size_t start = line + 2;
        size_t end = head.find("\r\n", start);
        std::string_view text = head.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        size_t colon = text.find(':');
        if (colon != std::string_view::npos &&
            platform::EqualsNoCase(text.substr(0, colon), name)) {
            std::string_view value = text.substr(colon + 1);
            while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
                value.remove_prefix(1);
            return value;
        }
        line = end;
    }
    return std::nullopt;
}

}  // namespace

bool RequestArrived(std::string_view bytes, size_t maxBody) {
    size_t end = bytes.find("\r\n\r\n");
    if (end == std::string_view::npos) return bytes.size() >= kMaxHead;
    std::string_view head = bytes.substr(0, end + 2);
    if (Header(head, "Expect") || Header(head, "Transfer-Encoding")) return true;
    std::optional<std::string_view> length = Header(head, "Content-Length");
    if (!length) return true;
    size_t body = 0;
    for (char c : *length) {
        if (c < '0' || c > '9' || body > maxBody) return true;  // the reader refuses it
        body = body * 10 + static_cast<size_t>(c - '0');
    }
    return body > maxBody || bytes.size() - (end + 4) >= body;
}

RequestWatcher::RequestWatcher(const ConnectionLimits& limits, size_t maxBody, Ready ready)
    : limits_(limits), maxBody_(maxBody), ready_(std::move(ready)) {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe");
    thread_ = std::thread([this] { Loop(); });
}

RequestWatcher::~RequestWatcher() {
    Stop();
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void RequestWatcher::Add(ConnectionPtr connection, bool keptAlive) {
    SteadyClock::time_point now = SteadyClock::now();
    connection->idle = keptAlive && connection->Unread() == 0;
    connection->deadline = now + (connection->idle ? limits_.idle : limits_.request);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) return;  // closed here
        added_.push_back(std::move(connection));
    }
    Wake();
}

void RequestWatcher::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    Wake();
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    added_.clear();
}

void RequestWatcher::Wake() {
    char byte = 1;
    (void)!::write(wake_[1], &byte, 1);  // a full pipe is awake enough
}

bool RequestWatcher::TakeAdded() {
    std::vector<ConnectionPtr> added;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) return false;
        added.swap(added_);
    }
    for (ConnectionPtr& c : added) {
        if (RequestArrived(c->UnreadBytes(), maxBody_)) {
            ready_(std::move(c));  // pipelined: the next request came with the last one
        } else if (waiting_.size() < limits_.waiting) {
            waiting_.push_back(std::move(c));
        }  // else closed: too many clients wait already
    }
    return true;
}

bool RequestWatcher::Receive(Connection& c, SteadyClock::time_point now) {
    char buffer[kReadSize];
    for (;;) {
        ssize_t n = ::recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        if (c.idle) {
            // The next request has begun: from now on it has the request's time.
            c.idle = false;
            c.deadline = now + limits_.request;
        }
        c.received.append(buffer, static_cast<size_t>(n));
        if (c.Unread() >= kMaxHead + maxBody_ || static_cast<size_t>(n) < sizeof buffer)
            return true;
    }
}

void RequestWatcher::Loop() {
    std::vector<pollfd> polled;
    while (TakeAdded()) {
        SteadyClock::time_point now = SteadyClock::now();
        auto next = SteadyClock::time_point::max();
        for (const ConnectionPtr& c : waiting_)
            next = std::min(next, c->deadline);
        int timeout = -1;
        if (next != SteadyClock::time_point::max())
            timeout = static_cast<int>(std::max<int64_t>(
                0, std::chrono::ceil<std::chrono::milliseconds>(next - now).count()));

        polled.assign(1, pollfd{wake_[0], POLLIN, 0});
        for (const ConnectionPtr& c : waiting_)
            polled.push_back(pollfd{c->fd, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), timeout) < 0 && errno != EINTR) break;
        if (polled[0].revents) {
            char drain[64];
            while (::read(wake_[0], drain, sizeof drain) > 0) {
            }
        }

        now = SteadyClock::now();
        std::vector<ConnectionPtr> still;
        for (size_t i = 0; i < waiting_.size(); ++i) {
            ConnectionPtr& c = waiting_[i];
            if (polled[i + 1].revents) {
                if (!Receive(*c, now)) continue;  // closed or failed: let go
                if (RequestArrived(c->UnreadBytes(), maxBody_)) {
                    ready_(std::move(c));
                    continue;
                }
            }
            if (now >= c->deadline) continue;  // too slow, or idle too long: closed
            still.push_back(std::move(c));
        }
        waiting_.swap(still);
    }
    waiting_.clear();
}

}  // namespace zentri::server
