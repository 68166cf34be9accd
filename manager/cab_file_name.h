#pragma once
// The local file name of a downloaded CAB inside the cabs folder. The server's `install` text
// names the file only when it is a plain file name; otherwise the application's sysid is used,
// made into one. Either way the name never leads out of the cabs folder.

#include <string>
#include <string_view>

namespace zentri {

// True when `name` is a plain file name: not empty, no "..", no path separator or drive colon,
// no character a handset file name cannot hold (* ? " < > | and control characters).
bool IsPlainFileName(std::u16string_view name);

// `install` when it is a plain file name, else `sysid` + ".cab" with every character that a
// plain file name cannot hold replaced by "_" (and ".." by "__").
std::u16string CabFileName(std::u16string_view install, std::u16string_view sysid);

}  // namespace zentri
