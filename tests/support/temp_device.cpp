#include "tests/support/temp_device.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/paths.h"

namespace zentri::test {
namespace fs = std::filesystem;

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (previous_)
        setenv(name_.c_str(), previous_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

TempDevice::TempDevice() {
    std::string pattern = (fs::temp_directory_path() / "zentri-device-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary device root");
    root_ = pattern;
    env_.emplace("ZENTRI_DEVICE_ROOT", root_.c_str());
}

TempDevice::~TempDevice() {
    env_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void TempDevice::WriteFile(std::string_view devicePath, std::string_view content) const {
    fs::path host = platform::HostPath(devicePath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << content;
}

std::string TempDevice::ReadFile(std::string_view devicePath) const {
    std::ifstream in(platform::HostPath(devicePath), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDevice::Exists(std::string_view devicePath) const {
    std::error_code ec;
    return fs::exists(platform::HostPath(devicePath), ec);
}

fs::path SourceDir() {
    return ZENTRI_SOURCE_DIR;
}

fs::path BuildDir() {
    return ZENTRI_BUILD_DIR;
}

}  // namespace zentri::test
