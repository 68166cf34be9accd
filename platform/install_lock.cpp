#include "platform/install_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/paths.h"

namespace platform {

InstallLock::InstallLock() {
    std::error_code ec;
    std::filesystem::create_directories(DeviceRoot(), ec);
    // flock() locks belong to the open file description, so two threads of one process that
    // each open the folder exclude each other as two processes do.
    fd_ = open(DeviceRoot().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd_);
            fd_ = -1;
            return;
        }
    }
}

InstallLock::~InstallLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace platform
