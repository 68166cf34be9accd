// wceload: the emulated handset's CAB installer (tools/wceload/command.h).

#include <iostream>

#include "tools/wceload/command.h"

int main(int argc, char** argv) {
    return wceload::RunCommand(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
