#include "tools/wceload/install_document.h"

#include <sodium.h>

#include <set>

#include <pugixml.hpp>

#include "platform/install_record.h"
#include "platform/text.h"
#include "tools/wceload/device_names.h"
#include "tools/wceload/macros.h"

namespace wceload {
namespace {

// Nested registry characteristics deeper than this are not a real package.
constexpr int kMaxRegistryDepth = 16;

std::vector<pugi::xml_node> Elements(pugi::xml_node parent) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node n : parent.children())
        if (n.type() == pugi::node_element) out.push_back(n);
    return out;
}

bool Is(pugi::xml_node node, const char* element) {
    return std::string_view(node.name()) == element;
}

std::string Type(pugi::xml_node node) {
    return node.attribute("type").value();
}

bool Translated(pugi::xml_node node) {
    return platform::EqualsNoCase(node.attribute("translation").value(), "install");
}

// The parser would turn a character reference to U+0000 into the end of the text, silently
// cutting a name short; such a document is refused instead.
bool HasNulCharacter(std::string_view xml) {
    if (xml.find('\0') != std::string_view::npos) return true;
    for (size_t at = xml.find("&#"); at != std::string_view::npos; at = xml.find("&#", at + 2)) {
        size_t i = at + 2;
        bool hex = i < xml.size() && (xml[i] == 'x' || xml[i] == 'X');
        if (hex) ++i;
        size_t digits = i;
        while (i < xml.size() && xml[i] == '0')
            ++i;
        if (i > digits && i < xml.size() && xml[i] == ';') return true;
    }
    return false;
}

// Decimal (or 0x hexadecimal) text of a 32-bit number, signed or not.
bool ParseNumber(std::string_view text, uint32_t& out) {
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        base = 16, text.remove_prefix(2);
    if (text.empty() || text.size() > 10) return false;
    uint64_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'                 ? c - '0'
                    : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                         : -1;
        if (digit < 0) return false;
        value = value * base + digit;
    }
    if (negative ? value > 0x80000000u : value > 0xFFFFFFFFu) return false;
    out = static_cast<uint32_t>(negative ? (~value + 1) : value);
    return true;
}

class Reader {
  public:
    Reader(InstallPlan& plan, std::string& error) : plan_(plan), error_(error) {}

    bool Document(const pugi::xml_document& doc) {
        pugi::xml_node root = doc.document_element();
        if (!Is(root, "wap-provisioningdoc"))
            return Fail("the root element is not wap-provisioningdoc");
        std::vector<pugi::xml_node> top = Elements(root);
        pugi::xml_node install;
        for (pugi::xml_node c : top) {
            if (!Is(c, "characteristic"))
                return Fail("an unknown element <" + std::string(c.name()) + ">");
            std::string type = Type(c);
            if (platform::EqualsNoCase(type, "Install")) {
                if (install) return Fail("two Install characteristics");
                install = c;
            } else if (!platform::EqualsNoCase(type, "FileOperation") &&
                       !platform::EqualsNoCase(type, "Registry")) {
                return Fail("an unknown characteristic \"" + type + "\"");
            }
        }
        if (!install) return Fail("no Install characteristic");
        if (!Install(install)) return false;
        for (pugi::xml_node c : top) {
            if (platform::EqualsNoCase(Type(c), "FileOperation") && !FileOperation(c)) return false;
            if (platform::EqualsNoCase(Type(c), "Registry") && !Registry(c, "", 0)) return false;
        }
        return FoldersAndFilesApart();
    }

  private:
    bool Fail(const std::string& why) {
        error_ = why;
        return false;
    }

    bool Install(pugi::xml_node install) {
        for (pugi::xml_node parm : Elements(install)) {
            if (!Is(parm, "parm")) return Fail("an unknown element in Install");
            std::string name = parm.attribute("name").value();
            std::string value = parm.attribute("value").value();
            if (platform::EqualsNoCase(name, "AppName")) {
                if (!platform::IsValidAppName(value))
                    return Fail("an AppName that cannot name an install key: \"" + value + "\"");
                plan_.appName = value;
            } else if (platform::EqualsNoCase(name, "InstallDir")) {
                std::string expanded;
                if (!ExpandMacros(value, nullptr, expanded, error_) ||
                    !CheckDevicePath(expanded, false, plan_.installDir, error_))
                    return Fail("InstallDir: " + error_);
            } else if (platform::EqualsNoCase(name, "SetupDLL")) {
                if (value.empty()) return Fail("an empty SetupDLL");
                plan_.setupLibrary = value;
            }  // InstallPhase and the Num* counts only describe the package
        }
        if (plan_.appName.empty()) return Fail("no AppName");
        if (plan_.installDir.empty()) return Fail("no InstallDir");
        return true;
    }

    bool FileOperation(pugi::xml_node operation) {
        for (pugi::xml_node folderNode : Elements(operation)) {
            if (!Is(folderNode, "characteristic"))
                return Fail("an unknown element in FileOperation");
            std::string expanded, folder;
            if (!ExpandMacros(Type(folderNode), &plan_.installDir, expanded, error_) ||
                !CheckDevicePath(expanded, true, folder, error_))
                return Fail("a folder of FileOperation: " + error_);
            for (pugi::xml_node item : Elements(folderNode))
                if (!FolderItem(folder, item)) return false;
        }
        return true;
    }

    bool FolderItem(const std::string& folder, pugi::xml_node item) {
        if (!Is(item, "characteristic")) return Fail("an unknown element in the folder " + folder);
        std::string name = Type(item);
        std::vector<pugi::xml_node> action = Elements(item);
        if (action.empty()) {
            if (!platform::EqualsNoCase(name, "MakeDir"))
                return Fail("\"" + name + "\" in " + folder + " is neither a file nor MakeDir");
            plan_.folders.push_back(folder);
            return true;
        }
        std::string path;
        if (!CheckName(name, error_) ||
            !CheckDevicePath((folder == "\\" ? "" : folder) + "\\" + name, false, path, error_))
            return Fail("a file of " + folder + ": " + error_);
        if (!destinations_.insert(platform::FoldCase(path)).second)
            return Fail("two files install to " + path);
        if (action.size() != 1 || !Is(action[0], "characteristic"))
            return Fail(path + " has no single Extract or Shortcut");
        std::string kind = Type(action[0]);
        pugi::xml_node source = action[0].find_child_by_attribute("parm", "name", "Source");
        std::string value = source.attribute("value").value();
        for (pugi::xml_node child : Elements(action[0]))
            if (!Is(child, "parm")) return Fail("an unknown element in " + kind + " of " + path);
        if (value.empty()) return Fail(kind + " of " + path + " names no Source");
        if (platform::EqualsNoCase(kind, "Extract")) {
            plan_.files.push_back({path, value});
        } else if (platform::EqualsNoCase(kind, "Shortcut")) {
            std::string target;
            if (!ExpandMacros(value, &plan_.installDir, target, error_))
                return Fail("the shortcut " + path + ": " + error_);
            if (target.find_first_of("\"\r\n\t") != std::string::npos ||
                platform::Utf8ToUtf16(target).size() > kMaxPathChars)
                return Fail("the shortcut " + path + " has a target it cannot hold");
            plan_.shortcuts.push_back({path, target});
        } else {
            return Fail("an unknown file operation \"" + kind + "\" for " + path);
        }
        return true;
    }

    // No path may be a file and a folder at once (counting the folders above every file).
    bool FoldersAndFilesApart() {
        std::vector<std::string> paths = plan_.folders;
        for (const auto& f : plan_.files)
            paths.push_back(f.path);
        for (const auto& s : plan_.shortcuts)
            paths.push_back(s.path);
        for (const std::string& path : paths) {
            for (size_t at = path.find('\\', 1); at != std::string::npos;
                 at = path.find('\\', at + 1))
                if (destinations_.count(platform::FoldCase(path.substr(0, at))))
                    return Fail(path.substr(0, at) + " is both a file and a folder");
        }
        for (const std::string& folder : plan_.folders)
            if (destinations_.count(platform::FoldCase(folder)))
                return Fail(folder + " is both a file and a folder");
        return true;
    }

    bool Registry(pugi::xml_node node, const std::string& parent, int depth) {
        if (depth > kMaxRegistryDepth) return Fail("registry keys nested too deep");
        for (pugi::xml_node child : Elements(node)) {
            if (Is(child, "parm")) {
                if (parent.empty()) return Fail("a registry value outside a key");
                if (!Value(parent, child)) return false;
            } else if (Is(child, "characteristic")) {
                std::string raw = parent.empty() ? Type(child) : parent + "\\" + Type(child);
                std::string key;
                if (!CheckRegistryKey(raw, key, error_)) return false;
                if (keys_.insert(platform::FoldCase(key)).second) plan_.keys.push_back(key);
                if (!Registry(child, raw, depth + 1)) return false;
            } else {
                return Fail("an unknown element <" + std::string(child.name()) + "> in Registry");
            }
        }
        return true;
    }

    bool Value(const std::string& rawKey, pugi::xml_node parm) {
        std::string key;
        CheckRegistryKey(rawKey, key, error_);
        PlannedValue planned;
        planned.key = key;
        platform::RegValue& v = planned.value;
        v.name = parm.attribute("name").value();
        if (!CheckValueName(v.name, error_)) return false;
        std::string text = parm.attribute("value").value();
        std::string type = parm.attribute("datatype").value();
        std::string where = " for " + v.name + " in " + key;
        if (type.empty() || platform::EqualsNoCase(type, "string")) {
            v.type = platform::RegType::String;
            if (!Translated(parm)) {
                v.text = text;
            } else if (!ExpandMacros(text, &plan_.installDir, v.text, error_)) {
                return Fail(error_ + where);
            }
        } else if (platform::EqualsNoCase(type, "integer")) {
            v.type = platform::RegType::Dword;
            if (!ParseNumber(text, v.number))
                return Fail("not a 32-bit number \"" + text + "\"" + where);
        } else if (platform::EqualsNoCase(type, "binary")) {
            v.type = platform::RegType::Binary;
            v.bytes.resize(text.size());
            size_t length = 0;
            if (sodium_base642bin(v.bytes.data(), v.bytes.size(), text.data(), text.size(),
                                  " \t\r\n", &length, nullptr, sodium_base64_VARIANT_ORIGINAL) != 0)
                return Fail("binary data that is not base64" + where);
            v.bytes.resize(length);
        } else {
            return Fail("an unknown datatype \"" + type + "\"" + where);
        }
        plan_.values.push_back(std::move(planned));
        return true;
    }

    InstallPlan& plan_;
    std::string& error_;
    std::set<std::string> destinations_;  // folded paths of files and shortcuts
    std::set<std::string> keys_;          // folded paths of plan_.keys
};

}  // namespace

bool ReadInstallDocument(std::string_view xml, InstallPlan& plan, std::string& error) {
    plan = InstallPlan{};
    if (HasNulCharacter(xml)) {
        error = "_setup.xml holds a NUL character";
        return false;
    }
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        error = "_setup.xml is not well-formed: " + std::string(parsed.description()) +
                " at byte " + std::to_string(parsed.offset);
        return false;
    }
    Reader reader(plan, error);
    if (reader.Document(doc)) return true;
    error = "_setup.xml: " + error;
    return false;
}

}  // namespace wceload
