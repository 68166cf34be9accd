// provision: processes a provisioning document file on the emulated device
// (tools/provision/provision_command.h).

#include <iostream>

#include "tools/provision/provision_command.h"

int main(int argc, char** argv) {
    return provision::RunCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
