#pragma once
// The installer's record of an installed package, kept in the registry under
// \Security\AppInstall\<AppName> (HKLM). The key's existence means "installed"; the program
// reads InstallDir and ExecutableFiles and adds its own "ZentriRevision"; the rest is what
// removing the package needs:
//
//   \Security\AppInstall\<AppName>
//       InstallDir      text   the install folder, a device path without trailing backslash
//       SetupLibrary    text   where the package's setup library is kept (only when it has one)
//       InstallCommit   number the installer's commit that wrote the record, one more than the
//                              record it replaced (platform/install_journal.h)
//       ExecutableFiles key    one text value per installed .exe, named by its device path
//       Files           key    one text value per installed file (the .exe files too), named by
//                              its device path
//       Shortcuts       key    one text value per shortcut file, named by its device path;
//                              the value is the shortcut's target
//       Folders         key    one text value per folder the installation created (or took
//                              over from the revision it replaced), named by its device path,
//                              parents before their children; removed when empty
//       RegistryKeys    key    one number value per registry key the installation created,
//                              named by the key path ("\Software\Acme\Tool"): 1 for a key the
//                              package names (removed with everything in it), 0 for a key
//                              created above one (removed only when empty)
//       RegistryValues  key    one text value per registry key the package wrote values in,
//                              named by the key path; the text holds the value names, one per
//                              line ("" is the key's default value)
//
// Texts of the per-item values are empty unless said otherwise; the order of the values is the
// order of installation.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

struct RecordedShortcut {
    std::string path;
    std::string target;
};

struct RecordedKey {
    std::string path;
    bool whole = true;  // false: created only as the parent of another key
};

struct RecordedValues {
    std::string key;
    std::vector<std::string> names;
};

struct InstallRecord {
    std::string appName;
    std::string installDir;
    std::string setupLibrary;
    std::vector<std::string> executables;
    std::vector<std::string> files;
    std::vector<RecordedShortcut> shortcuts;
    std::vector<std::string> folders;
    std::vector<RecordedKey> keys;
    std::vector<RecordedValues> values;
};

// "\Security\AppInstall" and the key of one package below it.
inline constexpr const char* kAppInstallKey = "\\Security\\AppInstall";
std::string InstallKeyPath(std::string_view appName);

// One of the platform's own subkeys beside the packages' ("ExtensionOptions", "TSKAllowed"),
// compared without case as key names are; their existence says nothing about a package.
bool IsPlatformSubkey(std::string_view name);

// A name that can be an installed package's key: not empty, at most 255 bytes, no backslash
// or control character, and not one of the platform's own subkeys ("ExtensionOptions",
// "TSKAllowed").
bool IsValidAppName(std::string_view appName);

// NotFound when the package is not installed (or the name is not valid).
RegResult ReadInstallRecord(std::string_view appName, InstallRecord& record);

// Replaces the package's key (values the program added to it are dropped too) by the record.
// Meant to run inside the caller's RegTransaction.
RegResult WriteInstallRecord(const InstallRecord& record);

// What the records of the other installed packages name. Packages may share a file, a folder,
// a registry key or value (a common parent folder, a vendor's key): what another package still
// records is never removed with this one, and an installation takes a share in the folders and
// keys of others that it uses, so that the last package using them removes them.
struct OtherRecords {
    std::set<std::string> files;    // folded device paths (files and shortcuts)
    std::set<std::string> folders;  // folded device paths
    std::set<std::string> keys;     // folded key paths, of RegistryKeys and RegistryValues
    std::set<std::string> values;   // folded "<key path>\n<value name>"

    bool HasFile(std::string_view path) const;
    bool HasFolder(std::string_view path) const;
    bool HasKey(std::string_view path) const;
    bool HasValue(std::string_view key, std::string_view name) const;
};
// The records of every installed package except the named one.
OtherRecords ReadOtherRecords(std::string_view appName);

// Removes the recorded registry values and keys and the package's own key, except what the
// other records name (a key of this package that another one uses is removed only when empty);
// entries that are already gone are no failure. Meant to run inside the caller's
// RegTransaction.
RegResult RemoveRecordedRegistry(const InstallRecord& record, const OtherRecords& others);

}  // namespace platform
