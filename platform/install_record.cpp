#include "platform/install_record.h"

#include <array>

#include "platform/text.h"

namespace platform {
namespace {

constexpr const char* kExecutables = "ExecutableFiles";
constexpr const char* kFiles = "Files";
constexpr const char* kShortcuts = "Shortcuts";
constexpr const char* kFolders = "Folders";
constexpr const char* kKeys = "RegistryKeys";
constexpr const char* kValues = "RegistryValues";

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

// Every value of a subkey of the record, in order; a missing subkey has none.
RegResult ReadList(const std::string& keyPath, const char* subkey, std::vector<RegValue>& out) {
    RegKey key;
    RegResult r = RegKey::Open(keyPath + "\\" + subkey, key);
    if (r != RegResult::Ok) return r == RegResult::NotFound ? RegResult::Ok : r;
    RegValue value;
    for (uint32_t i = 0; (r = key.EnumValue(i, value)) == RegResult::Ok; ++i)
        out.push_back(value);
    return r == RegResult::NotFound ? RegResult::Ok : r;
}

RegResult WriteList(const std::string& keyPath, const char* subkey,
                    const std::vector<RegValue>& values) {
    if (values.empty()) return RegResult::Ok;
    RegKey key;
    RegResult r = RegKey::Create(keyPath + "\\" + subkey, key);
    for (size_t i = 0; r == RegResult::Ok && i < values.size(); ++i)
        r = key.Set(values[i]);
    return r;
}

RegValue Text(const std::string& name, const std::string& text = "") {
    RegValue v;
    v.name = name, v.type = RegType::String, v.text = text;
    return v;
}

bool KeyIsEmpty(const RegKey& key) {
    std::string name;
    RegValue value;
    return key.EnumKey(0, name) == RegResult::NotFound &&
           key.EnumValue(0, value) == RegResult::NotFound;
}

// The record's lists as registry values, each kept under its own subkey.
struct RecordLists {
    std::vector<RegValue> executables, files, shortcuts, folders, keys, values;

    auto BySubkey() {
        return std::array{std::pair{kExecutables, &executables},
                          std::pair{kFiles, &files},
                          std::pair{kShortcuts, &shortcuts},
                          std::pair{kFolders, &folders},
                          std::pair{kKeys, &keys},
                          std::pair{kValues, &values}};
    }
};

RegResult IgnoreMissing(RegResult r) {
    return r == RegResult::NotFound ? RegResult::Ok : r;
}

// Whether the key is \Security\AppInstall or above it: it holds every package's record, so a
// package that happened to create it (the first one on a fresh device) never removes it whole.
bool HoldsInstallRecords(std::string_view keyPath) {
    std::string records = FoldCase(kAppInstallKey);
    std::string folded = FoldCase(keyPath);
    return records == folded || records.rfind(folded + "\\", 0) == 0;
}

}  // namespace

std::string InstallKeyPath(std::string_view appName) {
    return std::string(kAppInstallKey) + "\\" + std::string(appName);
}

bool IsValidAppName(std::string_view appName) {
    if (appName.empty() || appName.size() > 255) return false;
    for (unsigned char c : appName)
        if (c < 0x20 || c == 0x7F || c == '\\') return false;
    return !IsPlatformSubkey(appName);
}

bool IsPlatformSubkey(std::string_view name) {
    return EqualsNoCase(name, "ExtensionOptions") || EqualsNoCase(name, "TSKAllowed");
}

RegResult ReadInstallRecord(std::string_view appName, InstallRecord& record) {
    if (!IsValidAppName(appName)) return RegResult::NotFound;
    RegKey key;
    RegResult r = RegKey::Open(InstallKeyPath(appName), key);
    if (r != RegResult::Ok) return r;
    record = InstallRecord{};
    record.appName = key.Path().substr(key.Path().rfind('\\') + 1);
    if ((r = IgnoreMissing(key.QueryString("InstallDir", record.installDir))) != RegResult::Ok ||
        (r = IgnoreMissing(key.QueryString("SetupLibrary", record.setupLibrary))) != RegResult::Ok)
        return r;

    RecordLists lists;
    for (auto [subkey, list] : lists.BySubkey())
        if ((r = ReadList(key.Path(), subkey, *list)) != RegResult::Ok) return r;
    for (const RegValue& v : lists.executables)
        record.executables.push_back(v.name);
    for (const RegValue& v : lists.files)
        record.files.push_back(v.name);
    for (const RegValue& v : lists.shortcuts)
        record.shortcuts.push_back({v.name, v.text});
    for (const RegValue& v : lists.folders)
        record.folders.push_back(v.name);
    for (const RegValue& v : lists.keys)
        record.keys.push_back({v.name, v.type != RegType::Dword || v.number != 0});
    for (const RegValue& v : lists.values)
        record.values.push_back({v.name, SplitLines(v.text)});
    return RegResult::Ok;
}

RegResult WriteInstallRecord(const InstallRecord& record) {
    if (!IsValidAppName(record.appName)) return RegResult::Failed;
    std::string path = InstallKeyPath(record.appName);
    RegResult r = IgnoreMissing(RegKey::DeleteKey(path));
    RegKey key;
    if (r == RegResult::Ok) r = RegKey::Create(path, key);
    if (r == RegResult::Ok) r = key.SetString("InstallDir", record.installDir);
    if (r == RegResult::Ok && !record.setupLibrary.empty())
        r = key.SetString("SetupLibrary", record.setupLibrary);

    RecordLists lists;
    for (const auto& p : record.executables)
        lists.executables.push_back(Text(p));
    for (const auto& p : record.files)
        lists.files.push_back(Text(p));
    for (const auto& s : record.shortcuts)
        lists.shortcuts.push_back(Text(s.path, s.target));
    for (const auto& p : record.folders)
        lists.folders.push_back(Text(p));
    for (const auto& k : record.keys) {
        RegValue v;
        v.name = k.path, v.type = RegType::Dword, v.number = k.whole ? 1 : 0;
        lists.keys.push_back(v);
    }
    for (const auto& v : record.values)
        lists.values.push_back(Text(v.key, JoinLines(v.names)));
    // ExecutableFiles always exists, so that an installed package without programs reads as
    // one, not as a damaged record.
    if (r == RegResult::Ok) {
        RegKey exe;
        r = RegKey::Create(path + "\\" + kExecutables, exe);
    }
    for (auto [subkey, list] : lists.BySubkey())
        if (r == RegResult::Ok) r = WriteList(path, subkey, *list);
    return r;
}

bool OtherRecords::HasFile(std::string_view path) const {
    return files.count(FoldCase(path)) > 0;
}

bool OtherRecords::HasFolder(std::string_view path) const {
    return folders.count(FoldCase(path)) > 0;
}

bool OtherRecords::HasKey(std::string_view path) const {
    return keys.count(FoldCase(path)) > 0;
}

bool OtherRecords::HasValue(std::string_view key, std::string_view name) const {
    return values.count(FoldCase(std::string(key) + "\n" + std::string(name))) > 0;
}

OtherRecords ReadOtherRecords(std::string_view appName) {
    OtherRecords others;
    RegKey root;
    if (RegKey::Open(kAppInstallKey, root) != RegResult::Ok) return others;
    std::string name;
    for (uint32_t i = 0; root.EnumKey(i, name) == RegResult::Ok; ++i) {
        InstallRecord record;
        if (EqualsNoCase(name, appName) || ReadInstallRecord(name, record) != RegResult::Ok)
            continue;
        for (const auto& f : record.files)
            others.files.insert(FoldCase(f));
        for (const auto& s : record.shortcuts)
            others.files.insert(FoldCase(s.path));
        if (!record.setupLibrary.empty()) others.files.insert(FoldCase(record.setupLibrary));
        for (const auto& f : record.folders)
            others.folders.insert(FoldCase(f));
        for (const auto& k : record.keys)
            others.keys.insert(FoldCase(k.path));
        for (const auto& v : record.values) {
            others.keys.insert(FoldCase(v.key));
            for (const auto& n : v.names)
                others.values.insert(FoldCase(v.key + "\n" + n));
        }
    }
    return others;
}

RegResult RemoveRecordedRegistry(const InstallRecord& record, const OtherRecords& others) {
    RegResult r = RegResult::Ok;
    for (const RecordedValues& v : record.values) {
        RegKey key;
        if (RegKey::Open(v.key, key) != RegResult::Ok) continue;
        for (const std::string& name : v.names)
            if (!others.HasValue(v.key, name) &&
                (r = IgnoreMissing(key.DeleteValue(name))) != RegResult::Ok)
                return r;
    }
    // Children were recorded after their parents: the reverse order removes them first.
    for (auto it = record.keys.rbegin(); it != record.keys.rend(); ++it) {
        RegKey key;
        if ((r = RegKey::Open(it->path, key)) != RegResult::Ok) {
            if (r == RegResult::NotFound) continue;
            return r;
        }
        if (key.Path().empty()) continue;  // never HKLM itself
        bool whole = it->whole && !others.HasKey(it->path) && !HoldsInstallRecords(key.Path());
        if (whole || KeyIsEmpty(key))
            if ((r = IgnoreMissing(RegKey::DeleteKey(key.Path()))) != RegResult::Ok) return r;
    }
    return IgnoreMissing(RegKey::DeleteKey(InstallKeyPath(record.appName)));
}

}  // namespace platform
