#pragma once
// What a package may name on the device. Every path in an install document is untrusted: it
// must be a device path below the root, built of names the handset's file system allows, and
// never one of the emulated device's own files. A package that names anything else is refused.

#include <string>
#include <string_view>

namespace wceload {

// The handset's limits: a path of at most 259 characters (UTF-16 code units), a name of at
// most 255 (and, for the host's file system, at most 255 bytes).
inline constexpr size_t kMaxPathChars = 259;
inline constexpr size_t kMaxNameChars = 255;

// A file or folder name: not empty, not "." / ".." / only dots, valid UTF-8 within the limits,
// no control character and none of \ / : * ? " < > |.
bool CheckName(std::string_view name, std::string& error);

// An absolute device path ("\Program Files\Acme"; a trailing backslash is dropped) whose
// every component passes CheckName, within the path limit, outside the device's own files
// (the registry database, device.ini, the installer's staging folders). "\" (the root) passes
// only with `allowRoot`. Returns the path without trailing backslash in `normal`.
bool CheckDevicePath(std::string_view path, bool allowRoot, std::string& normal,
                     std::string& error);

// A registry key of the install document: "HKLM\..." or "HKEY_LOCAL_MACHINE\..." (any case)
// with non-empty components without control characters, not inside \Security\AppInstall
// (the installer's own records). Returns the path below HKLM ("\Software\Acme") in `normal`.
bool CheckRegistryKey(std::string_view key, std::string& normal, std::string& error);

// A registry value name: at most 255 bytes, no control character.
bool CheckValueName(std::string_view name, std::string& error);

// Whether a device file name ends in ".exe" (any case).
bool IsExecutableName(std::string_view name);

}  // namespace wceload
