#pragma once
// The installer program's command line, as the handset's installer takes it:
//     wceload [switches] "<CAB device path>"
// Switches (case-insensitive, "/" or "-"):
//     /delete N    N = 0 leaves the CAB in place, 1 deletes it after a successful install
//                  (the default, as on the handset)
//     /nodelete    the same as /delete 0
//     /noui, /silent   no message on success (failures are always reported)
//     /noaskdest, /askdest, /nouninstall, /safe   accepted and ignored
// Messages go to `err` (the handset shows a dialog; here nothing ever waits for a user).

#include <ostream>
#include <string>
#include <vector>

namespace wceload {

// Exit codes of the program.
enum ExitCode : int {
    kExitInstalled = 0,
    kExitRefused = 1,     // the package was refused or could not be installed
    kExitBadCommand = 2,  // the command line is wrong
};

// Runs the installer with the arguments (without the program name).
int RunCommand(const std::vector<std::string>& args, std::ostream& err);

}  // namespace wceload
