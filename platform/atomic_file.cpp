#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace platform {

bool WriteFileAtomically(const std::filesystem::path& hostPath, std::string_view content,
                         unsigned mode) {
    std::error_code ec;
    if (hostPath.has_parent_path()) std::filesystem::create_directories(hostPath.parent_path(), ec);
    std::string temp = hostPath.string() + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = fchmod(fd, mode) == 0;
    size_t written = 0;
    while (ok && written < content.size()) {
        ssize_t n = write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) written += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temp.c_str(), hostPath.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

}  // namespace platform
