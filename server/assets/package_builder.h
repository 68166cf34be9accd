#pragma once
// Builds an application's CAB package from a package source folder (server/packages/<name>/):
// its `_setup.xml` and every file that document extracts. Placeholders "@NAME@" and the like in
// `_setup.xml` and in the text files are replaced by the application's values, so that one
// source can serve several applications, each installing under its own sysid. Every extracted
// file is stored under a short name ("PROGRA~1.001") that the written `_setup.xml` references.

#include <filesystem>
#include <map>
#include <string>

namespace zentri::server::assets {

struct PackageJob {
    std::filesystem::path source;               // the package source folder
    std::map<std::string, std::string> values;  // "NAME" -> "Notes" replaces "@NAME@"
    std::filesystem::path staging;              // an empty folder for the CAB's files
    std::filesystem::path cab;                  // the archive to write
    std::string gcab;                           // the gcab program
};

// Returns an empty text on success, else what went wrong.
std::string BuildPackage(const PackageJob& job);

// "@KEY@" replaced by the values; an unknown placeholder is an error (returned in `unknown`).
std::string Substitute(const std::string& text, const std::map<std::string, std::string>& values,
                       std::string& unknown);

// The text with the characters that XML gives a meaning (& < > ") written as entities.
std::string XmlEscaped(const std::string& text);

}  // namespace zentri::server::assets
