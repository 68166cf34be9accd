#include "platform/shell.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <filesystem>

#include "platform/device_info.h"
#include "platform/paths.h"

namespace platform {
namespace fs = std::filesystem;

std::string SpecialFolder(int csidl) {
    switch (csidl) {
        case 2:
            return "\\Windows\\Start Menu\\Programs";
        case 5:
            return "\\My Documents";
        case 11:
            return "\\Windows\\Start Menu";
        case 36:
            return "\\Windows";
        case 38:
            return "\\Program Files";
        default:
            return {};
    }
}

bool DeleteTree(std::string_view deviceFolder) {
    if (SplitDevicePath(deviceFolder).empty()) return false;  // never the whole device
    std::error_code ec;
    fs::remove_all(HostPath(deviceFolder), ec);
    return !ec;
}

bool CreateFolder(std::string_view deviceFolder) {
    std::error_code ec;
    fs::path host = HostPath(deviceFolder);
    fs::create_directories(host, ec);
    return fs::is_directory(host, ec);
}

bool MoveFile(std::string_view from, std::string_view to) {
    fs::path source = HostPath(from), target = HostPath(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EXDEV) return false;
    // Another file system (a card mounted elsewhere): copy without replacing, then delete.
    std::error_code ec;
    if (!fs::is_regular_file(source, ec) || !fs::copy_file(source, target, ec)) return false;
    if (fs::remove(source, ec)) return true;
    fs::remove(target, ec);
    return false;
}

std::string StorageCardFolder() {
    std::string card = LoadDeviceInfo().storageCard;
    if (card.empty()) return {};
    std::error_code ec;
    fs::create_directories(HostPath("\\" + card), ec);  // the card is always "inserted"
    return "\\" + card;
}

}  // namespace platform
