#include "net/body_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/paths.h"

namespace zentri {

BodyFile::~BodyFile() {
    Close();
}

bool BodyFile::Open(const std::filesystem::path& hostPath) {
    Close();
    created_.reset();
    std::filesystem::path root = platform::DeviceRoot().lexically_normal();
    if (!root.has_filename()) root = root.parent_path();  // a trailing separator
    std::filesystem::path relative = hostPath.lexically_normal().lexically_relative(root);
    std::vector<std::string> parts;
    for (const auto& part : relative)
        parts.push_back(part.string());
    if (parts.empty() || parts.front() == ".." || parts.front() == ".") return false;
    name_ = parts.back();
    parts.pop_back();
    platform::UniqueFd rootFolder = platform::OpenDeviceRoot();
    if (!rootFolder.Valid()) return false;
    folder_ = platform::OpenDeviceFolderExact(rootFolder.Get(), parts);
    if (!folder_.Valid()) return false;
    struct stat st;
    if (fstatat(folder_.Get(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISDIR(st.st_mode) || unlinkat(folder_.Get(), name_.c_str(), 0) != 0))
        return false;
    fd_ = openat(folder_.Get(), name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 0644);
    if (fd_ < 0) return false;
    created_ = platform::IdOf(fd_);
    return true;
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
    if (platform::IdAt(folder_.Get(), name_) == created_) unlinkat(folder_.Get(), name_.c_str(), 0);
    created_.reset();
}

}  // namespace zentri
