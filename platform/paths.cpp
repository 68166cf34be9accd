#include "platform/paths.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/folder_index.h"
#include "platform/text.h"

namespace platform {
namespace fs = std::filesystem;

fs::path DeviceRoot() {
    if (const char* root = std::getenv("ZENTRI_DEVICE_ROOT"); root && *root) return fs::path(root);
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return fs::path(data) / "zentri" / "device";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "zentri" / "device";
}

std::vector<std::string> SplitDevicePath(std::string_view devicePath) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = devicePath.size();
        std::string part(devicePath.substr(start, end - start));
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    return parts;
}

namespace {

// The spelling of `name` as it exists in `folder`, preferring an exact match.
std::string ExistingSpelling(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder / name, ec))) return name;
    if (FolderIndex* index = FolderIndex::Current())
        return index->Spelling(folder, name).value_or(name);
    std::string folded = FoldCase(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (FoldCase(candidate) == folded) return candidate;
    }
    return name;
}

}  // namespace

fs::path HostPath(std::string_view devicePath) {
    fs::path host = DeviceRoot();
    for (const std::string& part : SplitDevicePath(devicePath))
        host /= ExistingSpelling(host, part);
    return host;
}

bool FolderInsideDeviceRoot(const fs::path& hostPath) {
    std::error_code ec;
    fs::path root = fs::weakly_canonical(DeviceRoot(), ec);
    fs::path folder = fs::weakly_canonical(hostPath.parent_path(), ec);
    if (ec) return false;
    auto end = std::mismatch(root.begin(), root.end(), folder.begin(), folder.end());
    return end.first == root.end();
}

std::string DevicePath(const fs::path& hostPath) {
    fs::path root = fs::weakly_canonical(DeviceRoot());
    fs::path path = fs::weakly_canonical(hostPath);
    auto rootEnd = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    if (rootEnd.first != root.end()) return {};
    std::string out;
    for (auto it = rootEnd.second; it != path.end(); ++it) {
        if (it->empty()) continue;
        out += '\\';
        out += it->string();
    }
    return out.empty() ? "\\" : out;
}

bool DevicePathEquals(std::string_view a, std::string_view b) {
    std::vector<std::string> pa = SplitDevicePath(a), pb = SplitDevicePath(b);
    if (pa.size() != pb.size()) return false;
    for (size_t i = 0; i < pa.size(); ++i)
        if (!EqualsNoCase(pa[i], pb[i])) return false;
    return true;
}

std::string ProgramFolder() {
    return "\\Program Files\\Zentri\\";
}

std::string DeviceFileName(std::string_view devicePath) {
    size_t slash = devicePath.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? devicePath : devicePath.substr(slash + 1));
}

}  // namespace platform
