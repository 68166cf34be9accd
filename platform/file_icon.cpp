#include "platform/file_icon.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/atomic_file.h"
#include "platform/exefile_png.h"
#include "platform/paths.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

std::string_view GenericIcon() {
    return {reinterpret_cast<const char*>(kExefilePng), sizeof kExefilePng};
}

bool HoldsGenericIcon(const fs::path& host) {
    std::error_code ec;
    if (fs::file_size(host, ec) != GenericIcon().size() || ec) return false;
    std::ifstream in(host, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return content == GenericIcon();
}

}  // namespace

std::string ExecutableIcon(std::string_view deviceFile) {
    std::string name = DeviceFileName(deviceFile);
    if (!name.empty()) {
        std::string own = std::string(deviceFile.substr(0, deviceFile.size() - name.size())) +
                          name.substr(0, name.rfind('.')) + ".png";
        std::error_code ec;
        if (fs::is_regular_file(HostPath(own), ec)) return own;
    }
    fs::path generic = HostPath(kGenericExecutableIcon);
    if (!HoldsGenericIcon(generic) && !WriteFileAtomically(generic, GenericIcon())) return {};
    return kGenericExecutableIcon;
}

}  // namespace platform
