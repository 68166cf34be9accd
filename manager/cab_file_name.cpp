#include "manager/cab_file_name.h"

#include "platform/text.h"

namespace zentri {
namespace {

bool IsForbidden(char16_t c) {
    return c < 0x20 || c == 0x7F ||
           std::u16string_view(u"/\\:*?\"<>|").find(c) != std::u16string_view::npos;
}

}  // namespace

bool IsPlainFileName(std::u16string_view name) {
    if (name.empty() || name.find(u"..") != std::u16string_view::npos) return false;
    for (char16_t c : name)
        if (IsForbidden(c)) return false;
    return true;
}

std::u16string CabFileName(std::u16string_view install, std::u16string_view sysid) {
    if (IsPlainFileName(install)) return std::u16string(install);
    std::u16string name(sysid);
    for (char16_t& c : name)
        if (IsForbidden(c)) c = u'_';
    return platform::ReplaceAll(std::move(name), u"..", u"__") + u".cab";
}

}  // namespace zentri
