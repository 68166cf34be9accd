#include "tests/platform/package_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/install_record.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace zentri::test {
namespace fs = std::filesystem;

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void MakeCab(std::string_view cabDevicePath, const CabFiles& files, bool compress) {
    fs::path source = platform::DeviceRoot().parent_path() /
                      (platform::DeviceRoot().filename().string() + "-cab-source");
    fs::remove_all(source);
    fs::create_directories(source);
    std::vector<std::string> args = {GCAB_EXECUTABLE, "--create", "--nopath"};
    if (compress) args.push_back("--zip");
    fs::path cab = platform::HostPath(cabDevicePath);
    fs::create_directories(cab.parent_path());
    fs::remove(cab);
    args.push_back(cab.string());
    for (const auto& [name, content] : files) {
        std::ofstream(source / name, std::ios::binary) << content;
        args.push_back((source / name).string());
    }
    auto gcab = platform::Process::StartHost(args);
    ASSERT_TRUE(gcab.has_value()) << "gcab cannot be started";
    ASSERT_EQ(gcab->Wait(), 0) << "gcab failed";
    fs::remove_all(source);
}

std::string SetupProbeLibrary() {
    return ReadHostFile(ZENTRI_SETUP_PROBE);
}

fs::path SetupProbeLog() {
    return platform::DeviceRoot().parent_path() /
           (platform::DeviceRoot().filename().string() + "-probe.log");
}

std::string SetupXml(const std::string& appNameXml, const std::string& installDir,
                     const std::string& body, const std::string& setupDll) {
    std::string xml =
        "<wap-provisioningdoc>\n"
        "  <characteristic type=\"Install\">\n"
        "    <parm name=\"InstallPhase\" value=\"install\" />\n"
        "    <parm name=\"AppName\" value=\"" +
        appNameXml +
        "\" />\n"
        "    <parm name=\"InstallDir\" value=\"" +
        installDir + "\" translation=\"install\" />\n";
    if (!setupDll.empty()) xml += "    <parm name=\"SetupDLL\" value=\"" + setupDll + "\" />\n";
    return xml + "  </characteristic>\n" + body + "</wap-provisioningdoc>\n";
}

std::string FolderXml(const std::string& folder,
                      const std::vector<std::pair<std::string, std::string>>& files, bool makeDir) {
    std::string xml =
        "  <characteristic type=\"FileOperation\">\n"
        "    <characteristic type=\"" +
        folder + "\" translation=\"install\">\n";
    if (makeDir) xml += "      <characteristic type=\"MakeDir\" />\n";
    for (const auto& [name, stored] : files)
        xml += "      <characteristic type=\"" + name +
               "\" translation=\"install\">\n"
               "        <characteristic type=\"Extract\"><parm name=\"Source\" value=\"" +
               stored + "\" /></characteristic>\n      </characteristic>\n";
    return xml + "    </characteristic>\n  </characteristic>\n";
}

std::string ShortcutXml(const std::string& folder, const std::string& name,
                        const std::string& target) {
    return "  <characteristic type=\"FileOperation\">\n"
           "    <characteristic type=\"" +
           folder +
           "\" translation=\"install\">\n"
           "      <characteristic type=\"" +
           name +
           "\" translation=\"install\">\n"
           "        <characteristic type=\"Shortcut\"><parm name=\"Source\" value=\"" +
           target +
           "\" translation=\"install\" /></characteristic>\n"
           "      </characteristic>\n    </characteristic>\n  </characteristic>\n";
}

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UninstallDocument(const std::string& appName) {
    return "<wap-provisioningdoc>\t\t<characteristic type=\"UnInstall\">\t\t<characteristic "
           "type=\"" +
           XmlEscape(appName) +
           "\">\t\t<parm name=\"uninstall\" value=\"1\" />\t\t</characteristic>\t\t"
           "</characteristic>\t\t</wap-provisioningdoc>";
}

namespace {

void DumpKey(const std::string& path, std::map<std::string, std::string>& out) {
    platform::RegKey key;
    if (platform::RegKey::Open(path, key) != platform::RegResult::Ok) return;
    out[path.empty() ? "\\" : path] = "";
    platform::RegValue v;
    for (uint32_t i = 0; key.EnumValue(i, v) == platform::RegResult::Ok; ++i) {
        std::string data = v.type == platform::RegType::Dword ? std::to_string(v.number)
                           : v.type == platform::RegType::String
                               ? v.text
                               : std::string(v.bytes.begin(), v.bytes.end());
        out[path + "|" + v.name] = std::to_string(static_cast<int>(v.type)) + ":" + data;
    }
    std::string name;
    for (uint32_t i = 0; key.EnumKey(i, name) == platform::RegResult::Ok; ++i)
        DumpKey(path + "\\" + name, out);
}

}  // namespace

DeviceSnapshot TakeSnapshot() {
    DeviceSnapshot snapshot;
    fs::path root = platform::DeviceRoot();
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        std::string relative = fs::relative(it->path(), root).string();
        if (relative.rfind("registry.sqlite3", 0) == 0) continue;
        if (it->is_directory()) {
            snapshot.files[relative] = "dir";
        } else {
            bool exe = access(it->path().c_str(), X_OK) == 0;
            snapshot.files[relative] =
                std::string("file:") + (exe ? "x" : "-") + ":" + ReadHostFile(it->path());
        }
    }
    DumpKey("", snapshot.registry);
    return snapshot;
}

std::string Describe(const DeviceSnapshot& before, const DeviceSnapshot& after) {
    std::string out;
    auto compare = [&out](const auto& a, const auto& b, const char* what) {
        for (const auto& [k, v] : a)
            if (!b.count(k))
                out += std::string("  gone ") + what + ": " + k + "\n";
            else if (b.at(k) != v)
                out += std::string("  changed ") + what + ": " + k + "\n";
        for (const auto& [k, v] : b)
            if (!a.count(k)) out += std::string("  new ") + what + ": " + k + "\n";
    };
    compare(before.files, after.files, "file");
    compare(before.registry, after.registry, "registry");
    return out;
}

void PrepareHandset() {
    platform::RegKey key;
    ASSERT_EQ(platform::RegKey::Create(platform::kAppInstallKey, key), platform::RegResult::Ok);
    fs::create_directories(platform::HostPath("\\Program Files\\Zentri\\cabs"));
}

}  // namespace zentri::test
