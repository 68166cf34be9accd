#include "fuzz/fuzz_device.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zentri::fuzz {

void UseTemporaryDevice() {
    static bool done = false;
    if (done) return;
    done = true;
    // In memory where possible: the targets rewrite a file on every run, and a disk would make
    // that the bottleneck.
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", ec)
                                       ? std::filesystem::path("/dev/shm")
                                       : std::filesystem::temp_directory_path();
    std::string pattern = (folder / "zentri-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a device root");
    setenv("ZENTRI_DEVICE_ROOT", pattern.c_str(), 1);
    // The run's files are small; the folder is removed when the process ends normally.
    static struct Cleanup {
        std::string root;
        ~Cleanup() {
            std::error_code ec;
            std::filesystem::remove_all(root, ec);
        }
    } cleanup{pattern};
}

}  // namespace zentri::fuzz
