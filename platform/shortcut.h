#pragma once
// Shortcut files in the handset's text form: "<length>#<command>", where <length> is the
// number of characters (UTF-16 code units) after "#", and the command is the target,
// enclosed in double quotes when written here, optionally followed by arguments:
//     23#"\Windows\calc.exe"
//     40#"\Program Files\Acme\tool.exe" -fast
// Files are UTF-8. Reading is lenient as on the handset: a line break ends the command, a
// length that disagrees with the text is ignored, an unquoted target runs to the end of the
// command (it then has no arguments).

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct Shortcut {
    std::string target;     // a device path (or whatever the shortcut names), never empty
    std::string arguments;  // what follows a quoted target, trimmed
};

// The command of a shortcut text; empty when the text is not a shortcut (no digits before
// "#", or no target).
std::optional<Shortcut> ParseShortcut(std::string_view text);
// The shortcut text for a target (and optional arguments): 23#"\Windows\calc.exe"
std::string FormatShortcut(std::string_view target, std::string_view arguments = {});

// Reads a shortcut file at a device path; empty when it is missing, larger than a shortcut
// can be, or not a shortcut.
std::optional<Shortcut> ReadShortcut(std::string_view devicePath);
// Writes a shortcut file at a device path (its folder is created), replacing one that is there.
bool WriteShortcut(std::string_view devicePath, std::string_view target,
                   std::string_view arguments = {});

}  // namespace platform
