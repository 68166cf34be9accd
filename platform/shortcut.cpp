#include "platform/shortcut.h"

#include <fstream>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace platform {
namespace {

// A shortcut names one command; anything much larger is not a shortcut.
constexpr std::streamsize kMaxShortcutFile = 4096;

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

std::optional<Shortcut> ParseShortcut(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits >= text.size() || text[digits] != '#') return std::nullopt;
    std::string_view command = text.substr(digits + 1);
    command = command.substr(0, command.find_first_of("\r\n"));
    command = Trim(command);

    Shortcut shortcut;
    if (!command.empty() && command[0] == '"') {
        size_t close = command.find('"', 1);
        shortcut.target = std::string(command.substr(
            1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        if (close != std::string_view::npos)
            shortcut.arguments = std::string(Trim(command.substr(close + 1)));
    } else {
        shortcut.target = std::string(command);
    }
    if (shortcut.target.empty()) return std::nullopt;
    return shortcut;
}

std::string FormatShortcut(std::string_view target, std::string_view arguments) {
    std::string command = "\"" + std::string(target) + "\"";
    if (!arguments.empty()) command += " " + std::string(arguments);
    return IntToString(static_cast<int64_t>(Utf8ToUtf16(command).size())) + "#" + command;
}

std::optional<Shortcut> ReadShortcut(std::string_view devicePath) {
    std::ifstream in(HostPath(devicePath), std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxShortcutFile + 1, '\0');
    in.read(text.data(), kMaxShortcutFile + 1);
    if (in.gcount() > kMaxShortcutFile) return std::nullopt;
    text.resize(static_cast<size_t>(in.gcount()));
    return ParseShortcut(text);
}

bool WriteShortcut(std::string_view devicePath, std::string_view target,
                   std::string_view arguments) {
    if (target.empty() || SplitDevicePath(devicePath).empty()) return false;
    return WriteFileAtomically(HostPath(devicePath), FormatShortcut(target, arguments));
}

}  // namespace platform
