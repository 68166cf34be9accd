#pragma once
// provision FILE.xml: hands the provisioning document in a host file ("-": the standard input)
// to the configuration manager (platform/config_manager.h) and prints its status and result
// document:
//     status: <status>
//     <result document>
// Exit codes: 0 the document was processed (status 0 or above), 1 it was refused (negative
// status) or the file cannot be read, 2 the command line is wrong.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace provision {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               std::istream& in);

}  // namespace provision
