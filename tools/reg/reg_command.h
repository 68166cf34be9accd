#pragma once
// The `reg` command for the device registry, in the familiar syntax:
//   reg query  KEY [/v NAME | /ve] [/s]
//   reg add    KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]
//   reg delete KEY [/v NAME | /ve | /va] [/f]
// KEY is HKLM\... or HKEY_LOCAL_MACHINE\... . Exit codes: 0 success, 1 not found (or declined),
// 2 invalid syntax, 3 the registry cannot be read or written.

#include <iosfwd>
#include <string>
#include <vector>

namespace regtool {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in);

}  // namespace regtool
