#pragma once
// The shell's file icon for an executable on the emulated device.
//
// An emulated executable carries its own icon as a PNG file beside it with the same name and
// the extension ".png" instead of its own: \Program Files\Acme\tool.exe shows
// \Program Files\Acme\tool.png when that file exists (a package ships it like any other file).
// Without one it shows the program's generic executable icon, a 64x64 PNG with alpha that the
// platform keeps at \Windows\exefile.png (written there from the copy built into the platform
// library whenever it is missing or differs).

#include <string>
#include <string_view>

namespace platform {

inline constexpr const char* kGenericExecutableIcon = "\\Windows\\exefile.png";

// The device path of the PNG to show for the executable (or any file); empty only when the
// generic icon cannot be written to the device.
std::string ExecutableIcon(std::string_view deviceFile);

}  // namespace platform
