#include "platform/probes.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr int kAfBluetooth = 31;
constexpr int kBtProtoRfcomm = 3;

bool AnyEntry(const fs::path& folder, bool (*match)(const fs::directory_entry&)) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (match(*it)) return true;
    return false;
}

}  // namespace

bool ProbeBluetooth() {
    int fd = socket(kAfBluetooth, SOCK_STREAM, kBtProtoRfcomm);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool ProbeWifi() {
    return AnyEntry("/sys/class/net", [](const fs::directory_entry& e) {
        std::error_code ec;
        return fs::exists(e.path() / "wireless", ec);
    });
}

bool Probe3dGraphics() {
    return dlopen("libGLESv1_CM.so.1", RTLD_LAZY | RTLD_LOCAL) != nullptr;
}

bool ProbeCamera() {
    return AnyEntry("/dev", [](const fs::directory_entry& e) {
        return e.path().filename().string().rfind("video", 0) == 0;
    });
}

bool ProbeAccelerometer() {
    return AnyEntry("/sys/bus/iio/devices", [](const fs::directory_entry& e) {
        std::error_code ec;
        return fs::exists(e.path() / "in_accel_x_raw", ec);
    });
}

}  // namespace platform
