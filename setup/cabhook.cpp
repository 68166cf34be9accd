// The client's setup library: the installer calls it when the client is installed or removed.
// After an installation it makes sure the client's own revision value exists and creates the
// Start-menu shortcut with its Start-screen icon entry; before a removal it asks whether the
// settings are to be kept for a later installation, deletes the download folder and removes
// the shortcut. It shares with the client the key \Software\Zentri and its "ZentriRevision"
// value, the file "settings.dat" and the folder "cabs". Every failure inside is skipped: the
// installer goes on whatever happens here.

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/device_info.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/setup_library.h"
#include "platform/shell.h"
#include "platform/shortcut.h"

namespace {

constexpr char kProgramKey[] = "\\Software\\Zentri";
constexpr char kRevisionValue[] = "ZentriRevision";
constexpr char kStartInfoKey[] = "\\Security\\Shell\\StartInfo\\Start\\";
// The revision of the client that this package brings; the catalogue's revision, written by
// the client itself before it updates, may be higher and is then kept.
constexpr uint32_t kPackageRevision = 12;

// The shortcut is named after the install folder: "\Program Files\Zentri" gives "Zentri".
std::string ShortcutName(const std::string& installDir) {
    return installDir.substr(installDir.rfind('\\') + 1);
}

// A Pocket PC keeps program shortcuts in the Start menu's Programs folder, a Smartphone in the
// Start menu itself; a platform type that cannot be read counts as a Smartphone.
std::string ShortcutPath(const std::string& name) {
    bool pocketPc = false;
    try {
        pocketPc = platform::LoadDeviceInfo().platformType == "PocketPC";
    } catch (...) {
    }
    return platform::SpecialFolder(pocketPc ? 2 : 11) + "\\" + name + ".lnk";
}

void KeepRevisionAtLeastPackage() {
    platform::RegKey key;
    if (platform::RegKey::Open(kProgramKey, key) != platform::RegResult::Ok &&
        platform::RegKey::Create(kProgramKey, key) != platform::RegResult::Ok)
        return;
    uint32_t revision = 0;
    if (key.QueryDword(kRevisionValue, revision) != platform::RegResult::Ok) revision = 0;
    if (revision < kPackageRevision) key.SetDword(kRevisionValue, kPackageRevision);
}

void CreateShortcut(const std::string& installDir) {
    std::string name = ShortcutName(installDir);
    platform::RegKey icon;
    if (platform::RegKey::Create(kStartInfoKey + name + ".lnk", icon) == platform::RegResult::Ok)
        icon.SetString("Icon", installDir + "\\icon.png");
    platform::WriteShortcut(ShortcutPath(name), installDir + "\\zentri.exe");
}

void RemoveShortcut(const std::string& installDir) {
    std::string name = ShortcutName(installDir);
    platform::RegKey::DeleteKey(kStartInfoKey + name + ".lnk");
    std::error_code ec;
    std::filesystem::remove(platform::HostPath(ShortcutPath(name)), ec);
}

void AskToKeepSettings(const std::string& installDir) {
    int answer = platform::ShowMessageBox("Do you want to keep settings for future installations?",
                                          "Info", platform::kMbYesNo | platform::kMbIconQuestion);
    if (answer != platform::kIdNo) return;
    std::error_code ec;
    std::filesystem::remove(platform::HostPath(installDir + "\\settings.dat"), ec);
}

// Held by each call: the installer may unload the library between calls, which would leave
// this library's own registry connection open and unreachable, so it is closed on the way out.
struct RegistryClosedOnReturn {
    RegistryClosedOnReturn() = default;
    RegistryClosedOnReturn(const RegistryClosedOnReturn&) = delete;
    RegistryClosedOnReturn& operator=(const RegistryClosedOnReturn&) = delete;
    ~RegistryClosedOnReturn() { platform::CloseRegistry(); }
};

// Runs one step of a call, skipping whatever it throws: nothing may escape into the installer.
template <typename Step>
void Skipping(Step step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

extern "C" {

SETUP_EXPORT int Install_Init(void*, int, int, const char*) {
    return SETUP_INIT_CONTINUE;
}

SETUP_EXPORT int Install_Exit(void*, const char* installDir, unsigned, unsigned, unsigned, unsigned,
                              unsigned) {
    if (!installDir) return SETUP_EXIT_DONE;
    RegistryClosedOnReturn closed;
    std::string dir = installDir;
    Skipping([] { KeepRevisionAtLeastPackage(); });
    Skipping([&] { CreateShortcut(dir); });
    return SETUP_EXIT_DONE;
}

SETUP_EXPORT int Uninstall_Init(void*, const char* installDir) {
    if (!installDir) return SETUP_INIT_CONTINUE;
    RegistryClosedOnReturn closed;
    std::string dir = installDir;
    Skipping([&] { AskToKeepSettings(dir); });
    Skipping([&] { platform::DeleteTree(dir + "\\cabs"); });
    Skipping([&] { RemoveShortcut(dir); });
    return SETUP_INIT_CONTINUE;
}

SETUP_EXPORT int Uninstall_Exit(void*) {
    return SETUP_EXIT_DONE;
}

}  // extern "C"
