#include "net/body_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zentri {

BodyFile::~BodyFile() {
    Close();
}

bool BodyFile::Open(const std::filesystem::path& hostPath) {
    Close();
    path_ = hostPath;
    fd_ = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    created_ = fd_ >= 0;
    return created_;
}

bool BodyFile::Write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool BodyFile::Close() {
    if (fd_ < 0) return true;
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
}

void BodyFile::Discard() {
    Close();
    if (!created_) return;
    created_ = false;
    std::error_code ec;
    std::filesystem::remove(path_, ec);
}

}  // namespace zentri
