#pragma once
// Device programs are host executables placed at a device path, so that the device's own
// paths start them (platform/process.h). The installer stand-in is the one the program needs:
// it is staged at \Windows\wceload.exe when the program starts. The configuration manager's
// program is started by its host path.

#include <filesystem>
#include <string_view>

namespace platform {

inline constexpr const char* kInstallerDevicePath = "\\Windows\\wceload.exe";

// Places the host executable at the device path as a symbolic link to its absolute path.
// Idempotent: a link that already points there is kept; anything else at that path (a stale
// link, a copy, a plain file) is replaced in one step. False when the executable does not
// exist or the link cannot be made.
bool StageDeviceProgram(std::string_view devicePath, const std::filesystem::path& hostExecutable);

// The host path of the installer program, the first that exists of:
//   1. $ZENTRI_WCELOAD, when set;
//   2. "wceload" in the folder of the running executable (an installed layout);
//   3. the path the build made it at (<build>/tools/wceload/wceload).
// Empty when none exists.
std::filesystem::path InstallerExecutable();

// StageDeviceProgram(kInstallerDevicePath, InstallerExecutable()).
bool StageInstaller();

// The host path of the configuration manager's program (tools/provision), which the client
// runs for every provisioning document so that no package code runs inside the client; found
// as the installer is: $ZENTRI_PROVISION, else "provision" beside the running executable, else
// where the build made it. Empty when none exists.
std::filesystem::path ConfigurationManagerExecutable();

}  // namespace platform
