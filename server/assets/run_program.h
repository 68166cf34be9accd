#pragma once
// Runs a helper program of the asset build (gcab, rsvg-convert) and waits for it.

#include <string>
#include <vector>

namespace zentri::server::assets {

// args[0] is the program's path; the rest are its arguments. Returns its exit status, or -1
// when it could not be started or did not exit normally.
int RunProgram(const std::vector<std::string>& args);

}  // namespace zentri::server::assets
