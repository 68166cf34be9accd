#pragma once
// Test helpers: a fresh emulated device per test and scoped environment variables.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zentri::test {

// Sets an environment variable for the lifetime of the object (unset when value is null).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A new, empty device root in a temporary folder, made current through ZENTRI_DEVICE_ROOT and
// removed with everything in it afterwards.
class TempDevice {
  public:
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // Writes a file at a device path ("\Program Files\Zentri\x"), creating its folders.
    void WriteFile(std::string_view devicePath, std::string_view content) const;
    std::string ReadFile(std::string_view devicePath) const;
    bool Exists(std::string_view devicePath) const;

  private:
    std::filesystem::path root_;
    std::optional<ScopedEnv> env_;
};

// The folders of the source tree and of the build.
std::filesystem::path SourceDir();
std::filesystem::path BuildDir();

}  // namespace zentri::test
