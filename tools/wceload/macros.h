#pragma once
// The folder macros of an install document: %CE1% to %CE17% (the handset's folders) and
// %InstallDir% (the package's install folder), in any case. A macro is "%", letters and
// digits, "%"; one the installer does not know refuses the package. A "%" that does not start
// such a name ("50% off") is kept as it is.

#include <optional>
#include <string>
#include <string_view>

namespace wceload {

// The folder of %CEn%, a device path without trailing backslash; empty for unknown numbers.
std::string CeFolder(int number);

// Replaces every macro in `text`. `installDir` is null while the install folder itself is
// being read (it may not name itself). False (with `error`) on an unknown macro.
bool ExpandMacros(std::string_view text, const std::string* installDir, std::string& out,
                  std::string& error);

}  // namespace wceload
