#pragma once
// Loads a package's setup library (platform/setup_library.h) and makes its calls. Used by the
// installer and the configuration manager.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/setup_library.h"

namespace platform {

class SetupLibrary {
  public:
    // Loads the shared object at the host path; null (with `error` set) when it cannot be
    // loaded or lacks one of the four functions.
    static std::unique_ptr<SetupLibrary> Load(const std::filesystem::path& hostPath,
                                              std::string& error);
    ~SetupLibrary();
    SetupLibrary(const SetupLibrary&) = delete;
    SetupLibrary& operator=(const SetupLibrary&) = delete;

    // True when the library lets the installation or removal go on / declares it done.
    bool InstallInit(bool previouslyInstalled, const std::string& installDir);
    bool InstallExit(const std::string& installDir);
    bool UninstallInit(const std::string& installDir);
    void UninstallExit();

  private:
    explicit SetupLibrary(void* handle) : handle_(handle) {}

    void* handle_;
    SetupInstallInitFn installInit_ = nullptr;
    SetupInstallExitFn installExit_ = nullptr;
    SetupUninstallInitFn uninstallInit_ = nullptr;
    SetupUninstallExitFn uninstallExit_ = nullptr;
};

}  // namespace platform
