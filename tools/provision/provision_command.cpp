#include "tools/provision/provision_command.h"

#include <fstream>
#include <sstream>

#include "platform/config_manager.h"

namespace provision {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               std::istream& in) {
    if (args.size() != 1 || args[0].empty() || (args[0][0] == '-' && args[0] != "-")) {
        err << "usage: provision FILE.xml (- reads the standard input)\n";
        return 2;
    }
    std::ifstream file;
    if (args[0] != "-") file.open(args[0], std::ios::binary);
    std::istream& source = args[0] == "-" ? in : file;
    std::ostringstream document;
    if (!source || !(document << source.rdbuf())) {
        err << "provision: cannot read " << args[0] << "\n";
        return 1;
    }
    std::string result;
    int status = platform::ProcessConfiguration(document.str(), &result);
    out << "status: " << status << "\n";
    if (!result.empty()) out << result << "\n";
    if (status < 0) {
        err << "provision: the document was refused (status " << status << ")\n";
        return 1;
    }
    return 0;
}

}  // namespace provision
