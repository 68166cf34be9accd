#pragma once
// The registry keys of installed software.

#include <optional>
#include <string>
#include <string_view>

#include "platform/install_record.h"
#include "platform/text.h"

namespace zentri {

using platform::kAppInstallKey;
inline constexpr const char* kOwnKey = "\\Software\\Zentri";
inline constexpr const char* kRevisionValue = "ZentriRevision";

// \Security\AppInstall\<sysid>; none for a name that cannot be a package's key: empty, with a
// backslash (which would reach another key), or one of the platform's own subkeys.
inline std::optional<std::string> InstallKeyPath(std::u16string_view sysid) {
    if (sysid.empty() || sysid.find(u'\\') != std::u16string_view::npos) return std::nullopt;
    std::string name = platform::Utf16ToUtf8(sysid);
    if (platform::IsPlatformSubkey(name)) return std::nullopt;
    return platform::InstallKeyPath(name);
}

}  // namespace zentri
