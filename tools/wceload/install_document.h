#pragma once
// The package's install document, _setup.xml: a provisioning document with the characteristics
// "Install" (AppName, InstallDir, optional SetupDLL), "FileOperation" (folders with MakeDir,
// files extracted from stored names, shortcuts) and "Registry" (HKLM keys with typed values).
// Reading it checks everything a package could do wrong: a plan that comes out of it writes
// only below the device root, only where it says, and only the kinds of things listed here.

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace wceload {

struct PlannedFile {
    std::string path;    // device path of the installed file
    std::string source;  // the stored name in the CAB
};

struct PlannedShortcut {
    std::string path;    // device path of the shortcut file
    std::string target;  // device path it starts
};

struct PlannedValue {
    std::string key;  // below HKLM: "\Software\Acme"
    platform::RegValue value;
};

struct InstallPlan {
    std::string appName;
    std::string installDir;            // device path without trailing backslash
    std::string setupLibrary;          // stored name of the setup library; empty without one
    std::vector<std::string> folders;  // folders to make (MakeDir), in document order
    std::vector<PlannedFile> files;
    std::vector<PlannedShortcut> shortcuts;
    std::vector<std::string> keys;  // registry keys the package names, in document order
    std::vector<PlannedValue> values;
};

// Reads the document; false with `error` saying what is wrong when it is malformed, names
// something the installer does not handle, or would write outside its place. Folder and file
// paths always have their macros expanded; registry texts only with translation="install".
// Values: datatype "string" (the default), "integer" (decimal, -2147483648 to 4294967295) and
// "binary" (base64).
bool ReadInstallDocument(std::string_view xml, InstallPlan& plan, std::string& error);

}  // namespace wceload
