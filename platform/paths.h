#pragma once
// The emulated device's file system: one host folder (the device root) plays the handset's
// whole file system. The program keeps backslash device paths; they become host paths here,
// at the moment a file is opened.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// $ZENTRI_DEVICE_ROOT, else $XDG_DATA_HOME/zentri/device, else ~/.local/share/zentri/device.
std::filesystem::path DeviceRoot();

// The components of a device path; "\" and "/" both separate, empty components and "." are
// dropped and ".." removes the previous component (never going above the root).
std::vector<std::string> SplitDevicePath(std::string_view devicePath);

// The host path of a device path. Each component that matches an existing entry
// case-insensitively takes that entry's spelling, so "\WINDOWS\wceload.EXE" finds
// "<root>/Windows/wceload.exe". The result always lies inside the device root.
std::filesystem::path HostPath(std::string_view devicePath);

// Whether the folder of a host path, with every symbolic link in it followed, lies in the
// device root: a path that HostPath made can still lead out through a link on the device.
bool FolderInsideDeviceRoot(const std::filesystem::path& hostPath);

// The device path ("\a\b") of a host path inside the device root; empty when it is outside.
std::string DevicePath(const std::filesystem::path& hostPath);

// Case-insensitive comparison of two device paths, component by component.
bool DevicePathEquals(std::string_view a, std::string_view b);

// The folder of the program file on the device, with its trailing backslash.
std::string ProgramFolder();

// The part after the last backslash (or slash).
std::string DeviceFileName(std::string_view devicePath);

}  // namespace platform
