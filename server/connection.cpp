#include "server/connection.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zentri::server {
namespace {

// Waits until the socket is ready for `events` or the time is up; false on time-out or error.
bool WaitFor(int fd, short events, std::chrono::milliseconds limit) {
    pollfd p{fd, events, 0};
    for (;;) {
        int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, limit.count())));
        if (n > 0) return true;
        if (n == 0 || errno != EINTR) return false;
    }
}

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET) {
        auto* in = reinterpret_cast<const sockaddr_in*>(&address);
        inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        port = ntohs(in->sin_port);
    } else if (address.ss_family == AF_INET6) {
        auto* in6 = reinterpret_cast<const sockaddr_in6*>(&address);
        inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
        port = ntohs(in6->sin6_port);
    }
    ip = text;
}

}  // namespace

Connection::~Connection() {
    ::close(fd);
}

void Connection::Compact() {
    received.erase(0, consumed);
    consumed = 0;
}

bool ConnectionStream::is_readable() const {
    return c_.Unread() > 0 || WaitFor(c_.fd, POLLIN, std::chrono::milliseconds(0));
}

bool ConnectionStream::is_writable() const {
    return WaitFor(c_.fd, POLLOUT, writeLimit_);
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
    if (c_.Unread() > 0) {
        size_t n = std::min(size, c_.Unread());
        std::memcpy(ptr, c_.received.data() + c_.consumed, n);
        c_.consumed += n;
        return static_cast<ssize_t>(n);
    }
    // The rest of a request the watcher handed over early (a body sent after "100 Continue",
    // a chunked body): it still has to arrive by the request's deadline.
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(c_.deadline - SteadyClock::now());
        if (left.count() <= 0 || !WaitFor(c_.fd, POLLIN, left)) return -1;
        ssize_t n = ::recv(c_.fd, ptr, size, MSG_DONTWAIT);
        if (n >= 0) return n;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    }
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        ssize_t n = ::send(c_.fd, ptr + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(c_.fd, POLLOUT, writeLimit_)) return -1;
        } else {
            return -1;
        }
    }
    return static_cast<ssize_t>(sent);
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(c_.fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        AddressOf(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(c_.fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        AddressOf(address, ip, port);
}

}  // namespace zentri::server
