#pragma once
// The main function of the benchmarks that draw: the fonts read the device description, so a
// run without ZENTRI_DEVICE_ROOT gets a device of its own (the default handset, 480 x 640 at
// 192 dpi) in a temporary folder, removed afterwards.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline int RunBenchmarksOnTempDevice(int argc, char** argv, const char* name) {
    std::filesystem::path root;
    if (!std::getenv("ZENTRI_DEVICE_ROOT")) {
        root = std::filesystem::temp_directory_path() /
               (std::string(name) + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(root);
        setenv("ZENTRI_DEVICE_ROOT", root.c_str(), 1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!root.empty()) std::filesystem::remove_all(root);
    return 0;
}
