#include "tools/wceload/device_names.h"

#include <vector>

#include "platform/install_record.h"
#include "platform/text.h"

namespace wceload {
namespace {

std::vector<std::string_view> Split(std::string_view path, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t end = path.find(separator, start);
        parts.push_back(path.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

bool HasControl(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// The device root's own entries, which no package may replace.
bool IsDeviceFile(std::string_view firstComponent) {
    std::string name = platform::FoldCase(firstComponent);
    return name == "device.ini" || name.rfind("registry.sqlite3", 0) == 0 ||
           name.rfind(".wceload-", 0) == 0;
}

bool Quoted(std::string& error, const std::string& what, std::string_view text) {
    error = what + " \"" + std::string(text) + "\"";
    return false;
}

}  // namespace

bool CheckName(std::string_view name, std::string& error) {
    if (name.empty()) return Quoted(error, "an empty name", name);
    if (name.find_first_not_of('.') == std::string_view::npos)
        return Quoted(error, "a name of dots only", name);
    if (HasControl(name)) return Quoted(error, "a control character in the name", name);
    if (name.find_first_of("\\/:*?\"<>|") != std::string_view::npos)
        return Quoted(error, "a character a file name cannot hold in", name);
    std::u16string wide = platform::Utf8ToUtf16(name);
    if (platform::Utf16ToUtf8(wide) != name) return Quoted(error, "a name that is not UTF-8", name);
    if (wide.size() > kMaxNameChars || name.size() > 255)
        return Quoted(error, "a name too long", name);
    return true;
}

bool CheckDevicePath(std::string_view path, bool allowRoot, std::string& normal,
                     std::string& error) {
    if (path.find('/') != std::string_view::npos)
        return Quoted(error, "a path with a slash (not a device path)", path);
    if (path.empty() || path[0] != '\\')
        return Quoted(error, "a path that does not start at the device root", path);
    std::string_view rest = path.substr(1);
    if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    if (rest.empty()) {
        if (!allowRoot) return Quoted(error, "the device root as a folder of its own", path);
        normal = "\\";
        return true;
    }
    std::vector<std::string_view> parts = Split(rest, '\\');
    for (std::string_view part : parts)
        if (!CheckName(part, error)) return Quoted(error, error + " in the path", path);
    if (IsDeviceFile(parts.front())) return Quoted(error, "a file of the device itself", path);
    normal = "\\" + std::string(rest);
    if (platform::Utf8ToUtf16(normal).size() > kMaxPathChars)
        return Quoted(error, "a path too long", path);
    return true;
}

bool CheckRegistryKey(std::string_view key, std::string& normal, std::string& error) {
    if (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    std::vector<std::string_view> parts = Split(key, '\\');
    if (!platform::EqualsNoCase(parts.front(), "HKLM") &&
        !platform::EqualsNoCase(parts.front(), "HKEY_LOCAL_MACHINE"))
        return Quoted(error, "a registry key outside HKEY_LOCAL_MACHINE", key);
    if (parts.size() < 2) return Quoted(error, "HKEY_LOCAL_MACHINE itself as a key", key);
    normal.clear();
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i].size() > 255 || HasControl(parts[i]))
            return Quoted(error, "a registry key with a bad component", key);
        normal += "\\" + std::string(parts[i]);
    }
    std::string folded = platform::FoldCase(normal);
    std::string records = platform::FoldCase(platform::kAppInstallKey);
    if (folded == records || folded.rfind(records + "\\", 0) == 0)
        return Quoted(error, "a registry key among the installer's records", key);
    return true;
}

bool CheckValueName(std::string_view name, std::string& error) {
    if (name.size() > 255 || HasControl(name))
        return Quoted(error, "a registry value name too long or with a control character", name);
    return true;
}

bool IsExecutableName(std::string_view name) {
    return name.size() > 4 && platform::EqualsNoCase(name.substr(name.size() - 4), ".exe");
}

}  // namespace wceload
