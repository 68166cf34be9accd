#pragma once
// The configuration manager: processes a provisioning document, as the handset's shell library
// does for the program's uninstall. The one characteristic it handles is "UnInstall":
//
//   <wap-provisioningdoc>
//     <characteristic type="UnInstall">
//       <characteristic type="Acme Tool">            (the package's AppName, XML-escaped)
//         <parm name="uninstall" value="1" />
//       </characteristic>
//     </characteristic>
//   </wap-provisioningdoc>
//
// which removes everything the installer recorded for that name, and its install key
// \Security\AppInstall\<AppName> (platform/package_removal.h), calling the package's setup
// library's Uninstall_Init / Uninstall_Exit around it when it has one. Several names may be
// listed; they are removed in order. Whitespace between tags (the program sends tabs) does
// not matter. The whole document is checked before anything is removed.

#include <string>

namespace platform {

// Status codes: 0 success, negative failure.
enum ConfigStatus : int {
    kConfigOk = 0,
    kConfigMalformed = -1,              // not well-formed XML or not a provisioning document
    kConfigUnknownCharacteristic = -2,  // a characteristic or parm it does not handle
    kConfigNotInstalled = -3,           // a name to uninstall that is not installed
    kConfigCancelled = -4,              // a setup library refused the removal
    kConfigFailed = -5,                 // files or registry could not be changed
    kConfigRegistryFailed = -6,         // the registry cannot be read (damaged, unreadable)
    kConfigAborted = -7,                // its process ended without a status (a crash, a kill)
                                        // or could not be started (platform/config_process.h)
};

// Processes the document. `result` (may be null) receives the result document: the document
// as processed, where a characteristic that failed is renamed "characteristic-error"; empty
// when the document could not be parsed. Nothing is changed unless every characteristic is
// understood and every name is installed. Runs the removal on the calling thread, waiting for
// an installation under way on the device to end first. The removal runs the package's setup
// library in this process: the client runs it in a child instead (platform/config_process.h).
int ProcessConfiguration(const std::string& document, std::string* result);

}  // namespace platform
