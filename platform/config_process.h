#pragma once
// The configuration manager as the client uses it: in a child process, the provision program
// (tools/provision, found by ConfigurationManagerExecutable() of platform/device_program.h), as
// the installer runs in one. A removal calls the package's setup library; in the child, a
// library that crashes, hangs up its process or reads memory reaches nothing of the client.
//
// The document goes to the child's standard input, the status and the result document come
// back on its standard output ("status: N", then the result document).

#include <string>

namespace platform {

// Processes the document in the child and returns its status (platform/config_manager.h);
// `result` (may be null) receives the child's result document. kConfigAborted when the child
// ended without a status (it crashed or was killed) or could not be started.
int ProcessConfigurationInChild(const std::string& document, std::string* result);

}  // namespace platform
