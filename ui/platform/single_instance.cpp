#include "ui/platform/single_instance.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/paths.h"

namespace zentri {
namespace {

// An abstract socket address (no file to clean up, gone with the process), keyed by the device
// root and the name: test devices side by side each have their own instance.
sockaddr_un AddressFor(const std::string& name, socklen_t& length) {
    std::error_code ec;
    std::string root = std::filesystem::weakly_canonical(platform::DeviceRoot(), ec).string();
    if (ec) root = platform::DeviceRoot().string();
    uint64_t hash = 1469598103934665603ull;  // FNV-1a over root and name
    for (unsigned char c : root + '\n' + name)
        hash = (hash ^ c) * 1099511628211ull;
    char key[96];
    int n = std::snprintf(key, sizeof key, "zentri-instance-%016llx",
                          static_cast<unsigned long long>(hash));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, key, static_cast<size_t>(n));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return address;
}

bool AskRunningInstance(const sockaddr_un& address, socklen_t length) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    if (ok) {
        const char request[] = "front\n";
        // Connecting is the request; the text is a courtesy, and the first instance may have
        // closed the connection already (no SIGPIPE for that).
        ssize_t sent = send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
        (void)sent;
    }
    close(fd);
    return ok;
}

}  // namespace

SingleInstance::Result SingleInstance::Claim(const std::string& name,
                                             std::unique_ptr<SingleInstance>& out) {
    socklen_t length = 0;
    sockaddr_un address = AddressFor(name, length);
    // A few rounds: the other instance may be just starting or just ending.
    for (int attempt = 0; attempt < 5; ++attempt) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return Result::kUnavailable;
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
            listen(fd, 8) == 0) {
            int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
            if (wake < 0) {
                close(fd);
                return Result::kUnavailable;
            }
            out.reset(new SingleInstance(fd, wake));
            return Result::kFirst;
        }
        int error = errno;
        close(fd);
        if (error != EADDRINUSE) return Result::kUnavailable;
        if (AskRunningInstance(address, length)) return Result::kAlreadyRunning;
    }
    return Result::kUnavailable;
}

SingleInstance::SingleInstance(int listenFd, int wakeFd) : listenFd_(listenFd), wakeFd_(wakeFd) {
    thread_ = std::thread([this] { Listen(); });
}

SingleInstance::~SingleInstance() {
    uint64_t one = 1;
    ssize_t written = write(wakeFd_, &one, sizeof one);
    (void)written;
    thread_.join();
    close(listenFd_);
    close(wakeFd_);
}

void SingleInstance::SetActivationHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

void SingleInstance::Listen() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;  // stopping
        if (!(fds[0].revents & POLLIN)) continue;
        int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        close(client);
        std::function<void()> handler;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handler = handler_;
        }
        if (handler) handler();
    }
}

}  // namespace zentri
