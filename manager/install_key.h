#pragma once
// The registry keys of installed software.

#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace zentri {

inline constexpr const char* kAppInstallKey = "\\Security\\AppInstall";
inline constexpr const char* kOwnKey = "\\Software\\Zentri";
inline constexpr const char* kRevisionValue = "ZentriRevision";

// \Security\AppInstall\<sysid>; none for a name that cannot be a key name (empty, or with a
// backslash, which would reach another key).
inline std::optional<std::string> InstallKeyPath(std::u16string_view sysid) {
    if (sysid.empty() || sysid.find(u'\\') != std::u16string_view::npos) return std::nullopt;
    return std::string(kAppInstallKey) + "\\" + platform::Utf16ToUtf8(sysid);
}

}  // namespace zentri
