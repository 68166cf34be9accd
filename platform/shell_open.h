#pragma once
// The shell's "open": hands a device file or a web address to the host's opener and returns
// at once. The opener is $ZENTRI_OPEN when set (a shell command, run with the target as its
// one extra argument: the HOST path of a device file, or the address unchanged), else
// `xdg-open`. The opener runs in the background; its end is collected by a thread of its own,
// so the caller never waits and no finished opener is left as a zombie.

#include <string_view>

namespace platform {

// A web address: a scheme of two or more letters followed by ":" ("http://...", "mailto:x").
// One letter and ":" is a drive letter, not a scheme.
bool IsWebAddress(std::string_view target);

// Opens a web address or an existing device file (device path). False when the device file
// does not exist or no opener could be started; what the opener then does is not known here.
bool ShellOpen(std::string_view target);

}  // namespace platform
