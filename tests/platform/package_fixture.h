#pragma once
// Test support for the installer and the configuration manager: CAB packages built with gcab
// from files given in the test, the install documents they carry, and snapshots of a whole
// emulated device (every file with its content, every registry key and value) to prove that
// a refused package or a removal leaves exactly what was there before.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_device.h"

namespace zentri::test {

// Stored name -> content.
using CabFiles = std::map<std::string, std::string>;

// Builds a CAB at the device path from the files (compressed when `compress`), with gcab.
void MakeCab(std::string_view cabDevicePath, const CabFiles& files, bool compress = true);

// The built setup library used as a package's SetupDLL (tests/platform/setup_probe.cpp).
std::string SetupProbeLibrary();
// The host file the probe writes its calls to, one line each.
std::filesystem::path SetupProbeLog();
std::string ReadHostFile(const std::filesystem::path& path);

// An install document with an Install characteristic for the name and folder, followed by the
// given characteristics (FileOperation, Registry) as XML text.
std::string SetupXml(const std::string& appNameXml, const std::string& installDir,
                     const std::string& body, const std::string& setupDll = "");
// A FileOperation folder characteristic with MakeDir and Extract entries (name -> stored name).
std::string FolderXml(const std::string& folder,
                      const std::vector<std::pair<std::string, std::string>>& files,
                      bool makeDir = true);
std::string ShortcutXml(const std::string& folder, const std::string& name,
                        const std::string& target);

// The uninstall document exactly as the program sends it (tabs between tags), with the name
// XML-escaped.
std::string UninstallDocument(const std::string& appName);
std::string XmlEscape(const std::string& text);

// Everything on the device: files and folders (content and executable bit) and the registry.
// The registry database's own files are left out; they change on every read.
struct DeviceSnapshot {
    std::map<std::string, std::string> files;     // relative path -> "dir" / "file:<x|->:<content>"
    std::map<std::string, std::string> registry;  // "\Key" -> "" and "\Key|name" -> "type:data"
    bool operator==(const DeviceSnapshot&) const = default;
};
DeviceSnapshot TakeSnapshot();
// What differs, for failure messages.
std::string Describe(const DeviceSnapshot& before, const DeviceSnapshot& after);

// A device as a handset has it before any package: the install records' key exists.
void PrepareHandset();

}  // namespace zentri::test
