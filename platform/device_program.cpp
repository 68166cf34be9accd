#include "platform/device_program.h"

#include <unistd.h>

#include <cstdlib>
#include <random>

#include "platform/paths.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

bool IsExecutable(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

// The program named by the variable when it is set; else the program of that name beside the
// running executable; else the one the build made.
fs::path ToolExecutable(const char* variable, const char* name, const char* buildPath) {
    if (const char* path = std::getenv(variable); path && *path)
        return IsExecutable(path) ? fs::path(path) : fs::path();
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && IsExecutable(self.parent_path() / name)) return self.parent_path() / name;
    if (IsExecutable(buildPath)) return buildPath;
    return {};
}

}  // namespace

bool StageDeviceProgram(std::string_view devicePath, const std::filesystem::path& hostExecutable) {
    std::error_code ec;
    if (SplitDevicePath(devicePath).empty() || !IsExecutable(hostExecutable)) return false;
    fs::path target = fs::absolute(hostExecutable, ec);
    fs::path link = HostPath(devicePath);
    if (fs::is_symlink(fs::symlink_status(link, ec)) && fs::read_symlink(link, ec) == target)
        return true;
    fs::create_directories(link.parent_path(), ec);
    // A new link beside the old entry, renamed over it: the path is never missing.
    fs::path temporary = link;
    temporary += ".stage-" + std::to_string(std::random_device{}());
    fs::create_symlink(target, temporary, ec);
    if (ec) return false;
    fs::rename(temporary, link, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

fs::path InstallerExecutable() {
    return ToolExecutable("ZENTRI_WCELOAD", "wceload", ZENTRI_WCELOAD_BUILD_PATH);
}

fs::path ConfigurationManagerExecutable() {
    return ToolExecutable("ZENTRI_PROVISION", "provision", ZENTRI_PROVISION_BUILD_PATH);
}

bool StageInstaller() {
    return StageDeviceProgram(kInstallerDevicePath, InstallerExecutable());
}

}  // namespace platform
