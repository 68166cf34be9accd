#include "platform/setup_library_loader.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<SetupLibrary> SetupLibrary::Load(const std::filesystem::path& hostPath,
                                                 std::string& error) {
    // RTLD_LOCAL: the library's own symbols never replace the loading program's.
    void* handle = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "the setup library cannot be loaded: " + std::string(why ? why : "unknown error");
        return nullptr;
    }
    std::unique_ptr<SetupLibrary> library(new SetupLibrary(handle));
    library->installInit_ = reinterpret_cast<SetupInstallInitFn>(dlsym(handle, "Install_Init"));
    library->installExit_ = reinterpret_cast<SetupInstallExitFn>(dlsym(handle, "Install_Exit"));
    library->uninstallInit_ =
        reinterpret_cast<SetupUninstallInitFn>(dlsym(handle, "Uninstall_Init"));
    library->uninstallExit_ =
        reinterpret_cast<SetupUninstallExitFn>(dlsym(handle, "Uninstall_Exit"));
    const char* missing = !library->installInit_     ? "Install_Init"
                          : !library->installExit_   ? "Install_Exit"
                          : !library->uninstallInit_ ? "Uninstall_Init"
                          : !library->uninstallExit_ ? "Uninstall_Exit"
                                                     : nullptr;
    if (missing) {
        error = std::string("the setup library lacks ") + missing;
        return nullptr;
    }
    return library;
}

SetupLibrary::~SetupLibrary() {
    dlclose(handle_);
}

bool SetupLibrary::InstallInit(bool previouslyInstalled, const std::string& installDir) {
    return installInit_(nullptr, 1, previouslyInstalled ? 1 : 0, installDir.c_str()) ==
           SETUP_INIT_CONTINUE;
}

bool SetupLibrary::InstallExit(const std::string& installDir) {
    return installExit_(nullptr, installDir.c_str(), 0, 0, 0, 0, 0) != SETUP_EXIT_UNINSTALL;
}

bool SetupLibrary::UninstallInit(const std::string& installDir) {
    return uninstallInit_(nullptr, installDir.c_str()) == SETUP_INIT_CONTINUE;
}

void SetupLibrary::UninstallExit() {
    uninstallExit_(nullptr);
}

}  // namespace platform
