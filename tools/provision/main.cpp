// provision: processes a provisioning document file on the emulated device
// (tools/provision/provision_command.h).

#include <unistd.h>

#include <iostream>
#include <sstream>

#include "tools/provision/provision_command.h"

int main(int argc, char** argv) {
    // A package's setup library runs in this process and may print; the answer (status and
    // result document) must reach the caller as it is, so it alone goes to the standard output
    // this process was given, and whatever else is written there goes to the standard error.
    int answer = dup(STDOUT_FILENO);
    if (answer < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return provision::RunCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                     std::cerr, std::cin);
    std::ostringstream out;
    int code = provision::RunCommand(std::vector<std::string>(argv + 1, argv + argc), out,
                                     std::cerr, std::cin);
    std::cout.flush();
    std::string text = out.str();
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(answer, text.data() + done, text.size() - done);
        if (n <= 0) return 1;
        done += static_cast<size_t>(n);
    }
    return code;
}
