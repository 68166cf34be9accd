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

// \Security\AppInstall\<sysid>; none for a name that cannot be a package's key: empty, with a
// backslash (which would reach another key), or one of the installer's own keys beside the
// packages' ("ExtensionOptions", "TSKAllowed"), whose existence says nothing about a package.
inline std::optional<std::string> InstallKeyPath(std::u16string_view sysid) {
    if (sysid.empty() || sysid.find(u'\\') != std::u16string_view::npos) return std::nullopt;
    std::string name = platform::Utf16ToUtf8(sysid);
    // Key names compare without case, as the registry's do.
    if (platform::EqualsNoCase(name, "ExtensionOptions") ||
        platform::EqualsNoCase(name, "TSKAllowed"))
        return std::nullopt;
    return std::string(kAppInstallKey) + "\\" + name;
}

}  // namespace zentri
