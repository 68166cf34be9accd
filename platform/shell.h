#pragma once
// The shell's folder services on the emulated device. The shell's other pieces have headers
// of their own: shortcut files (platform/shortcut.h), "open" of a file or web address
// (platform/shell_open.h), file icons (platform/file_icon.h) and the configuration manager
// (platform/config_manager.h).

#include <string>
#include <string_view>

namespace platform {

// Special folders by the handset's numbers: 2 the Start menu's Programs folder, 11 the Start
// menu; also 5 My Documents, 36 Windows and 38 Program Files. Device paths without a trailing
// backslash; empty for other numbers.
std::string SpecialFolder(int csidl);

// Deletes a device folder with everything in it, silently; a missing folder is no error.
// Returns false only when something that existed could not be removed.
bool DeleteTree(std::string_view deviceFolder);

// Creates a device folder and the folders above it (an existing one is kept).
bool CreateFolder(std::string_view deviceFolder);

// Moves a device file to another device path, within the device or onto the storage card. Fails,
// leaving both in place, when the destination exists already (never replaces a file).
bool MoveFile(std::string_view from, std::string_view to);

// The device folder of the first storage card ("\Storage Card"), or empty without a card.
std::string StorageCardFolder();

}  // namespace platform
