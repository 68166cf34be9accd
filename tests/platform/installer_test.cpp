// The installer stand-in in-process: what a package installs and records, how a reinstall
// replaces the revision before it, the demo service's real packages, refusals that leave the
// device exactly as it was, and the setup library's calls.

#include "tools/wceload/installer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/config_manager.h"
#include "platform/install_record.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/platform/package_fixture.h"

namespace zentri::test {
namespace {

namespace fs = std::filesystem;
using platform::InstallRecord;
using platform::RegKey;
using platform::RegResult;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kCab = "\\Program Files\\Zentri\\cabs\\package.cab";

class Installer : public ::testing::Test {
  protected:
    void SetUp() override { PrepareHandset(); }
    void TearDown() override { fs::remove(SetupProbeLog()); }

    wceload::InstallResult Install(const CabFiles& files) {
        MakeCab(kCab, files);
        return wceload::InstallCab(kCab);
    }

    InstallRecord Record(const std::string& appName) {
        InstallRecord record;
        EXPECT_EQ(platform::ReadInstallRecord(appName, record), RegResult::Ok) << appName;
        return record;
    }

    std::vector<std::string> ProbeCalls() {
        std::vector<std::string> lines;
        std::ifstream in(SetupProbeLog());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        fs::remove(SetupProbeLog());
        return lines;
    }

    TempDevice device;
    ScopedEnv probeLog{"ZENTRI_SETUP_PROBE_LOG", SetupProbeLog().c_str()};
};

// The example package of the design notes, with more kinds of registry values.
CabFiles SoftTool(const std::string& toolContent = "#!/bin/sh\necho tool\n") {
    std::string body =
        FolderXml("%InstallDir%", {{"tool.exe", "TOOL~1.001"}, {"Read me.txt", "READ~1.002"}}) +
        ShortcutXml("%CE11%", "Soft Tool.lnk", "%InstallDir%\\tool.exe") +
        "  <characteristic type=\"Registry\">\n"
        "    <characteristic type=\"HKLM\\Software\\Acme\\Soft Tool\">\n"
        "      <parm name=\"Version\" value=\"3\" datatype=\"integer\" />\n"
        "      <parm name=\"Name\" value=\"Soft Tool\" datatype=\"string\" />\n"
        "      <parm name=\"Path\" value=\"%InstallDir%\" translation=\"install\" />\n"
        "      <parm name=\"Literal\" value=\"%InstallDir%\" />\n"
        "      <parm name=\"Mask\" value=\"-1\" datatype=\"integer\" />\n"
        "      <parm name=\"Blob\" value=\"AAEC/w==\" datatype=\"binary\" />\n"
        "    </characteristic>\n"
        "  </characteristic>\n";
    return {{"_setup.xml", SetupXml("Acme Soft Tool", "%CE1%\\Soft Tool", body)},
            {"TOOL~1.001", toolContent},
            {"READ~1.002", "Read me first.\n"}};
}

TEST_F(Installer, FirstInstallWritesAndRecordsEverythingAndUninstallRestoresTheDevice) {
    device.WriteFile("\\.wceload-Ab12Cd\\left-over", "from an installer that was killed");
    MakeCab(kCab, SoftTool());
    fs::remove_all(platform::HostPath("\\.wceload-Ab12Cd"));
    DeviceSnapshot before = TakeSnapshot();
    device.WriteFile("\\.wceload-Ab12Cd\\left-over", "from an installer that was killed");

    wceload::InstallResult result = wceload::InstallCab(kCab);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.appName, "Acme Soft Tool");
    EXPECT_EQ(result.installDir, "\\Program Files\\Soft Tool");

    EXPECT_EQ(device.ReadFile("\\Program Files\\Soft Tool\\tool.exe"), "#!/bin/sh\necho tool\n");
    EXPECT_EQ(access(platform::HostPath("\\Program Files\\Soft Tool\\tool.exe").c_str(), X_OK), 0);
    EXPECT_EQ(device.ReadFile("\\Program Files\\Soft Tool\\Read me.txt"), "Read me first.\n");
    EXPECT_EQ(device.ReadFile("\\Windows\\Start Menu\\Programs\\Soft Tool.lnk"),
              "35#\"\\Program Files\\Soft Tool\\tool.exe\"");
    EXPECT_TRUE(device.Exists(kCab));  // left in place
    EXPECT_FALSE(device.Exists("\\.wceload-Ab12Cd"));

    RegKey key;
    ASSERT_EQ(RegKey::Open("\\Software\\Acme\\Soft Tool", key), RegResult::Ok);
    platform::RegValue v;
    uint32_t number = 0;
    std::string text;
    EXPECT_EQ(key.QueryDword("Version", number), RegResult::Ok);
    EXPECT_EQ(number, 3u);
    EXPECT_EQ(key.QueryDword("Mask", number), RegResult::Ok);
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_EQ(key.QueryString("Name", text), RegResult::Ok);
    EXPECT_EQ(text, "Soft Tool");
    EXPECT_EQ(key.QueryString("Path", text), RegResult::Ok);
    EXPECT_EQ(text, "\\Program Files\\Soft Tool");
    EXPECT_EQ(key.QueryString("Literal", text), RegResult::Ok);
    EXPECT_EQ(text, "%InstallDir%");
    ASSERT_EQ(key.Query("Blob", v), RegResult::Ok);
    EXPECT_EQ(v.bytes, (std::vector<uint8_t>{0, 1, 2, 0xFF}));

    // What the program reads: the install key and ExecutableFiles named by full device paths.
    RegKey exes;
    ASSERT_EQ(RegKey::Open("\\Security\\AppInstall\\Acme Soft Tool\\ExecutableFiles", exes),
              RegResult::Ok);
    ASSERT_EQ(exes.EnumValue(0, v), RegResult::Ok);
    EXPECT_EQ(v.name, "\\Program Files\\Soft Tool\\tool.exe");
    EXPECT_EQ(exes.EnumValue(1, v), RegResult::NotFound);

    InstallRecord record = Record("acme soft tool");
    EXPECT_EQ(record.appName, "Acme Soft Tool");
    EXPECT_EQ(record.installDir, "\\Program Files\\Soft Tool");
    EXPECT_THAT(record.files, ElementsAre("\\Program Files\\Soft Tool\\tool.exe",
                                          "\\Program Files\\Soft Tool\\Read me.txt"));
    ASSERT_EQ(record.shortcuts.size(), 1u);
    EXPECT_EQ(record.shortcuts[0].path, "\\Windows\\Start Menu\\Programs\\Soft Tool.lnk");
    EXPECT_EQ(record.shortcuts[0].target, "\\Program Files\\Soft Tool\\tool.exe");
    // \Program Files existed before; everything else was made by this installation.
    EXPECT_THAT(record.folders,
                ElementsAre("\\Program Files\\Soft Tool", "\\Windows", "\\Windows\\Start Menu",
                            "\\Windows\\Start Menu\\Programs"));
    ASSERT_EQ(record.keys.size(), 3u);
    EXPECT_EQ(record.keys[0].path, "\\Software");
    EXPECT_FALSE(record.keys[0].whole);
    EXPECT_EQ(record.keys[2].path, "\\Software\\Acme\\Soft Tool");
    EXPECT_TRUE(record.keys[2].whole);
    ASSERT_EQ(record.values.size(), 1u);
    EXPECT_THAT(record.values[0].names,
                ElementsAre("Version", "Name", "Path", "Literal", "Mask", "Blob"));
    EXPECT_TRUE(record.setupLibrary.empty());

    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Acme Soft Tool"), nullptr),
              platform::kConfigOk);
    DeviceSnapshot after = TakeSnapshot();
    EXPECT_EQ(before, after) << Describe(before, after);
}

TEST_F(Installer, FoldersItMakesAreFoundUnderAnySpellingLaterInTheSameInstall) {
    // The folder is made as "Data"; files name it "DATA" and "data", and a registry key is
    // named in two spellings: one folder, one key.
    std::string body =
        FolderXml("%InstallDir%\\Data", {}) +
        FolderXml("%InstallDir%\\DATA", {{"a.txt", "A.001"}}, false) +
        FolderXml("%InstallDir%\\data", {{"b.txt", "B.002"}}, false) +
        "<characteristic type=\"Registry\">"
        "<characteristic type=\"HKLM\\Software\\Acme\"><parm name=\"A\" value=\"1\"/>"
        "</characteristic><characteristic type=\"HKLM\\SOFTWARE\\ACME\">"
        "<parm name=\"a\" value=\"2\"/></characteristic></characteristic>";
    wceload::InstallResult result =
        Install({{"_setup.xml", SetupXml("Acme Data", "%CE1%\\Acme Data", body)},
                 {"A.001", "a"},
                 {"B.002", "b"}});
    ASSERT_TRUE(result.ok) << result.error;
    std::set<std::string> names;
    for (const auto& entry :
         fs::directory_iterator(platform::HostPath("\\Program Files\\Acme Data")))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{"Data"});
    InstallRecord record = Record("Acme Data");
    EXPECT_THAT(record.files, ElementsAre("\\Program Files\\Acme Data\\Data\\a.txt",
                                          "\\Program Files\\Acme Data\\Data\\b.txt"));
    ASSERT_EQ(record.values.size(), 1u);
    EXPECT_EQ(record.values[0].key, "\\Software\\Acme");
    EXPECT_THAT(record.values[0].names, ElementsAre("A"));
    RegKey acme;
    ASSERT_EQ(RegKey::Open("\\Software\\Acme", acme), RegResult::Ok);
    std::string text;
    EXPECT_EQ(acme.QueryString("A", text), RegResult::Ok);
    EXPECT_EQ(text, "2");
}

TEST_F(Installer, ReinstallReplacesTheOldRevisionAndKeepsTheUsersFiles) {
    std::string v1 =
        FolderXml("%InstallDir%", {{"tool.exe", "TOOL.001"}, {"old.txt", "OLD.002"}}) +
        FolderXml("%InstallDir%\\Old Data", {{"data.bin", "DATA.003"}}) +
        ShortcutXml("%CE17%", "Tool.lnk", "%InstallDir%\\tool.exe") +
        "<characteristic type=\"Registry\">"
        "<characteristic type=\"HKLM\\Software\\Acme\\Tool\"><parm name=\"Version\" value=\"1\" "
        "datatype=\"integer\"/><parm name=\"Gone\" value=\"x\"/></characteristic>"
        "<characteristic type=\"HKLM\\Software\\Acme\\Old\"><parm name=\"A\" value=\"1\"/>"
        "</characteristic></characteristic>";
    ASSERT_TRUE(Install({{"_setup.xml", SetupXml("Acme Tool", "%CE1%\\Acme Tool", v1)},
                         {"TOOL.001", "tool 1"},
                         {"OLD.002", "old"},
                         {"DATA.003", "data"}})
                    .ok);
    device.WriteFile("\\Program Files\\Acme Tool\\settings.dat", "the user's own");

    std::string v2 =
        FolderXml("%InstallDir%", {{"TOOL.EXE", "TOOL.001"}, {"new.txt", "NEW.002"}}) +
        ShortcutXml("%CE11%", "Tool.lnk", "%InstallDir%\\TOOL.EXE") +
        "<characteristic type=\"Registry\">"
        "<characteristic type=\"HKLM\\Software\\Acme\\Tool\"><parm name=\"Version\" value=\"2\" "
        "datatype=\"integer\"/></characteristic></characteristic>";
    wceload::InstallResult result =
        Install({{"_setup.xml", SetupXml("Acme Tool", "%CE1%\\Acme Tool", v2)},
                 {"TOOL.001", "tool 2"},
                 {"NEW.002", "new"}});
    ASSERT_TRUE(result.ok) << result.error;

    EXPECT_EQ(device.ReadFile("\\Program Files\\Acme Tool\\TOOL.EXE"), "tool 2");
    EXPECT_EQ(device.ReadFile("\\Program Files\\Acme Tool\\new.txt"), "new");
    EXPECT_EQ(device.ReadFile("\\Program Files\\Acme Tool\\settings.dat"), "the user's own");
    EXPECT_FALSE(device.Exists("\\Program Files\\Acme Tool\\old.txt"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Acme Tool\\Old Data"));
    EXPECT_FALSE(device.Exists("\\Windows\\Start Menu\\Tool.lnk"));
    EXPECT_TRUE(device.Exists("\\Windows\\Start Menu\\Programs\\Tool.lnk"));
    // The old spelling of the program is gone; the record names the new one.
    std::set<std::string> names;
    for (const auto& entry :
         fs::directory_iterator(platform::HostPath("\\Program Files\\Acme Tool")))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"TOOL.EXE", "new.txt", "settings.dat"}));
    InstallRecord record = Record("Acme Tool");
    EXPECT_THAT(record.executables, ElementsAre("\\Program Files\\Acme Tool\\TOOL.EXE"));

    RegKey key;
    ASSERT_EQ(RegKey::Open("\\Software\\Acme\\Tool", key), RegResult::Ok);
    uint32_t version = 0;
    EXPECT_EQ(key.QueryDword("Version", version), RegResult::Ok);
    EXPECT_EQ(version, 2u);
    std::string text;
    EXPECT_EQ(key.QueryString("Gone", text), RegResult::NotFound);
    EXPECT_EQ(RegKey::Open("\\Software\\Acme\\Old", key), RegResult::NotFound);

    // Removing it leaves only what the user made.
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Acme Tool"), nullptr), 0);
    EXPECT_TRUE(device.Exists("\\Program Files\\Acme Tool\\settings.dat"));
    EXPECT_FALSE(device.Exists("\\Program Files\\Acme Tool\\TOOL.EXE"));
    EXPECT_FALSE(device.Exists("\\Windows"));
    EXPECT_EQ(RegKey::Open("\\Software", key), RegResult::NotFound);
}

TEST_F(Installer, DemoServicePackagesInstallUpdateAndUninstallCleanly) {
    fs::path packages = fs::path(ZENTRI_CATALOGUE_ASSETS) / "packages";
    if (!fs::is_directory(packages)) GTEST_SKIP() << "the demo service's packages are not built";
    std::vector<fs::path> cabs;
    // The client's own package is tested on its own (tests/setup): its removal deletes the
    // client's cabs folder, where the packages are copied here.
    for (const auto& entry : fs::directory_iterator(packages))
        if (entry.path().extension() == ".cab" && entry.path().filename() != "zentri.cab")
            cabs.push_back(entry.path());
    std::sort(cabs.begin(), cabs.end());
    ASSERT_FALSE(cabs.empty());
    for (const fs::path& cab : cabs)
        fs::copy_file(cab, platform::HostPath("\\Program Files\\Zentri\\cabs") / cab.filename());
    DeviceSnapshot before = TakeSnapshot();

    // Every package, older revisions first where there are several (their names sort so).
    std::vector<std::string> names;
    for (const fs::path& cab : cabs) {
        SCOPED_TRACE(cab.filename().string());
        wceload::InstallResult r =
            wceload::InstallCab("\\Program Files\\Zentri\\cabs\\" + cab.filename().string());
        ASSERT_TRUE(r.ok) << r.error;
        if (std::find(names.begin(), names.end(), r.appName) == names.end())
            names.push_back(r.appName);
        InstallRecord record = Record(r.appName);
        ASSERT_EQ(record.executables.size(), 1u);
        EXPECT_TRUE(device.Exists(record.executables[0]));
        for (const auto& shortcut : record.shortcuts)
            EXPECT_TRUE(device.Exists(shortcut.target)) << shortcut.path;
    }
    for (const std::string& name : names)
        EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument(name), nullptr), 0) << name;
    DeviceSnapshot after = TakeSnapshot();
    EXPECT_EQ(before, after) << Describe(before, after);
}

TEST_F(Installer, RefusesBadPackagesWholeAndLeavesTheDeviceAsItWas) {
    ASSERT_TRUE(Install(SoftTool()).ok);  // an installed package must survive every refusal
    auto withBody = [](const std::string& body, const std::string& installDir = "%CE1%\\Evil",
                       const std::string& name = "Evil Tool") {
        return CabFiles{{"_setup.xml", SetupXml(name, installDir, body)}, {"FILE.001", "payload"}};
    };
    auto oneFile = [&](const std::string& folder, const std::string& name) {
        return withBody(FolderXml(folder, {{name, "FILE.001"}}));
    };
    auto registry = [&](const std::string& key) {
        return withBody("<characteristic type=\"Registry\"><characteristic type=\"" + key +
                        "\"><parm name=\"A\" value=\"1\"/></characteristic></characteristic>");
    };
    std::string longName(256, 'n');
    std::string deepFolder = "%CE1%";
    for (int i = 0; i < 9; ++i)
        deepFolder += "\\" + std::string(28, 'd');
    std::string good =
        SetupXml("Evil Tool", "%CE1%\\Evil", FolderXml("%InstallDir%", {{"a.txt", "FILE.001"}}));

    struct Case {
        const char* what;
        CabFiles files;
        const char* error;
    } cases[] = {
        {"not a CAB", {}, "not a CAB"},
        {"no _setup.xml", {{"FILE.001", "payload"}}, "no _setup.xml"},
        {"a binary manifest",
         {{"EVIL.000", "MSCE\1"}, {"FILE.001", "payload"}},
         "format (a binary *.000 manifest instead of _setup.xml) is not supported yet"},
        {"missing stored file", {{"_setup.xml", good}}, "does not hold"},
        {"malformed XML",
         {{"_setup.xml", good.substr(0, good.size() / 2)}, {"FILE.001", "x"}},
         "not well-formed"},
        {"not a provisioning document", {{"_setup.xml", "<html/>"}}, "root element"},
        {"dot-dot as a name", oneFile("%InstallDir%", ".."), "dots only"},
        {"dot-dot inside a name", oneFile("%InstallDir%", "..\\..\\..\\evil.txt"), "cannot hold"},
        {"dot-dot in a folder", oneFile("%InstallDir%\\..\\..\\..", "evil.txt"), "dots only"},
        {"absolute host path", oneFile("/tmp/evil", "evil.txt"), "slash"},
        {"drive letter", oneFile("C:\\Windows", "evil.txt"), "device root"},
        {"relative folder", oneFile("Windows", "evil.txt"), "device root"},
        {"macro escaping", withBody("", "%CE1%\\..\\..\\..\\tmp"), "dots only"},
        {"unknown macro", oneFile("%CE99%", "evil.txt"), "unknown folder macro"},
        {"install dir naming itself", withBody("", "%InstallDir%\\x"), "itself"},
        {"overlong name", oneFile("%InstallDir%", longName), "too long"},
        {"overlong path", oneFile(deepFolder, "evil.txt"), "too long"},
        {"NUL in a name", oneFile("%InstallDir%", "a&#0;b.txt"), "NUL"},
        {"the registry database", oneFile("\\", "registry.sqlite3"), "device itself"},
        {"registry outside HKLM", registry("HKCU\\Software\\Evil"), "outside HKEY_LOCAL_MACHINE"},
        {"registry into the install records", registry("HKLM\\Security\\AppInstall\\Other"),
         "installer's records"},
        {"two files at one path",
         withBody(FolderXml("%InstallDir%", {{"a.txt", "FILE.001"}, {"A.TXT", "FILE.001"}})),
         "two files"},
        {"file and folder at one path",
         withBody(FolderXml("%InstallDir%", {{"sub", "FILE.001"}}) +
                  FolderXml("%InstallDir%\\sub", {})),
         "both a file and a folder"},
        {"a file where the device has a folder", oneFile("%CE1%", "Zentri"), "is a folder"},
        {"a folder where the device has a file",  // found after a folder has been made
         withBody(FolderXml("%InstallDir%", {{"a.txt", "FILE.001"}}) +
                  FolderXml(kCab, {{"evil.txt", "FILE.001"}})),
         "is a file"},
        {"AppName with a backslash", withBody("", "%CE1%\\Evil", "Evil\\ExecutableFiles"),
         "AppName"},
        {"unknown characteristic", withBody("<characteristic type=\"Shell\"/>"), "unknown"},
        {"unknown datatype",
         withBody("<characteristic type=\"Registry\"><characteristic type=\"HKLM\\Software\\E\">"
                  "<parm name=\"A\" value=\"1\" datatype=\"multiplestring\"/>"
                  "</characteristic></characteristic>"),
         "datatype"},
        {"integer out of range",
         withBody("<characteristic type=\"Registry\"><characteristic type=\"HKLM\\Software\\E\">"
                  "<parm name=\"A\" value=\"4294967296\" datatype=\"integer\"/>"
                  "</characteristic></characteristic>"),
         "32-bit"},
        {"setup library that is not one",
         {{"_setup.xml", SetupXml("Evil Tool", "%CE1%\\Evil", "", "FILE.001")},
          {"FILE.001", "MZ not an ELF"}},
         "cannot be loaded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.files.empty())
            device.WriteFile(kCab, "just text, not an archive");
        else
            MakeCab(kCab, c.files);
        DeviceSnapshot before = TakeSnapshot();
        wceload::InstallResult r = wceload::InstallCab(kCab);
        EXPECT_FALSE(r.ok);
        EXPECT_THAT(r.error, HasSubstr(c.error));
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(before, after) << Describe(before, after);
    }

    // A damaged archive: cut short, and with a flipped byte in its compressed data.
    MakeCab(kCab, withBody(FolderXml("%InstallDir%", {{"a.txt", "FILE.001"}})));
    std::string cab = device.ReadFile(kCab);
    for (std::string damaged : {cab.substr(0, cab.size() - 20), cab}) {
        if (damaged.size() == cab.size()) damaged[damaged.size() - 10] ^= 0x5A;
        device.WriteFile(kCab, damaged);
        DeviceSnapshot before = TakeSnapshot();
        wceload::InstallResult r = wceload::InstallCab(kCab);
        EXPECT_FALSE(r.ok);
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(before, after) << Describe(before, after);
    }
    EXPECT_FALSE(wceload::InstallCab("\\Program Files\\Zentri\\cabs\\missing.cab").ok);
}

CabFiles ProbePackage(const std::string& appName, const std::string& extraFile = "") {
    std::vector<std::pair<std::string, std::string>> files = {{"probe.exe", "PROBE.001"}};
    if (!extraFile.empty()) files.push_back({extraFile, "EXTRA.003"});
    return {{"_setup.xml", SetupXml(XmlEscape(appName), "%CE1%\\Probe",
                                    FolderXml("%InstallDir%", files), "SETUP.002")},
            {"PROBE.001", "probe"},
            {"EXTRA.003", "extra"},
            {"SETUP.002", SetupProbeLibrary()}};
}

TEST_F(Installer, SetupLibraryIsCalledAroundInstallAndRemovalAndKeptBetween) {
    ASSERT_TRUE(Install(ProbePackage("Probe")).ok);
    EXPECT_THAT(ProbeCalls(),
                ElementsAre("Install_Init first=1 previous=0 dir=\\Program Files\\Probe files=no",
                            "Install_Exit dir=\\Program Files\\Probe files=yes failed=0"));
    InstallRecord record = Record("Probe");
    EXPECT_THAT(record.setupLibrary, HasSubstr("\\Windows\\AppMgr\\Probe_"));
    EXPECT_TRUE(device.Exists(record.setupLibrary));

    // A reinstall tells the new library that there was one before, and does not run the
    // old library's removal.
    ASSERT_TRUE(Install(ProbePackage("Probe")).ok);
    EXPECT_THAT(ProbeCalls(),
                ElementsAre("Install_Init first=1 previous=1 dir=\\Program Files\\Probe files=yes",
                            "Install_Exit dir=\\Program Files\\Probe files=yes failed=0"));

    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Probe"), nullptr), 0);
    EXPECT_THAT(ProbeCalls(), ElementsAre("Uninstall_Init dir=\\Program Files\\Probe files=yes",
                                          "Uninstall_Exit files=no"));
    EXPECT_FALSE(device.Exists(record.setupLibrary));
    EXPECT_FALSE(device.Exists("\\Windows"));
}

TEST_F(Installer, SetupLibraryRefusalsLeaveTheDeviceAsItWas) {
    MakeCab(kCab, ProbePackage("Probe"));
    DeviceSnapshot empty = TakeSnapshot();
    {
        ScopedEnv answer("ZENTRI_SETUP_PROBE_ANSWER", "Install_Init");
        wceload::InstallResult r = wceload::InstallCab(kCab);
        EXPECT_FALSE(r.ok);
        EXPECT_THAT(r.error, HasSubstr("cancelled"));
        EXPECT_EQ(empty, TakeSnapshot());
    }
    {
        ScopedEnv answer("ZENTRI_SETUP_PROBE_ANSWER", "Install_Exit");
        EXPECT_FALSE(wceload::InstallCab(kCab).ok);
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(empty, after) << Describe(empty, after);
    }
    ProbeCalls();
    ASSERT_TRUE(wceload::InstallCab(kCab).ok);
    DeviceSnapshot installed = TakeSnapshot();
    {
        ScopedEnv answer("ZENTRI_SETUP_PROBE_ANSWER", "Uninstall_Init");
        std::string result;
        EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Probe"), &result),
                  platform::kConfigCancelled);
        EXPECT_THAT(result, HasSubstr("<characteristic-error type=\"Probe\">"));
        EXPECT_EQ(installed, TakeSnapshot());
    }
}

TEST_F(Installer, FaultsDuringTheCommitRestoreTheRevisionBefore) {
    ASSERT_TRUE(Install(ProbePackage("Probe")).ok);
    MakeCab(kCab, ProbePackage("Probe", "extra.txt"));
    DeviceSnapshot before = TakeSnapshot();

    // The setup library puts a folder where the new revision's second file goes: the old
    // files have been moved aside by then and must come back.
    fs::path obstacle = platform::DeviceRoot() / "Program Files" / "Probe" / "extra.txt";
    ScopedEnv fault("ZENTRI_SETUP_PROBE_OBSTACLE", obstacle.c_str());
    wceload::InstallResult r = wceload::InstallCab(kCab);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.error, HasSubstr("is a folder"));
    fs::remove(obstacle);
    DeviceSnapshot after = TakeSnapshot();
    EXPECT_EQ(before, after) << Describe(before, after);
}

TEST_F(Installer, UninstallOfANameWithABlankAQuoteAndAnAmpersand) {
    const std::string name = "Acme \"Pro\" & Co Tool";
    ASSERT_TRUE(Install(ProbePackage(name)).ok);
    ProbeCalls();
    RegKey key;
    ASSERT_EQ(RegKey::Open("\\Security\\AppInstall\\" + name, key), RegResult::Ok);

    std::string result;
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument(name), &result), 0);
    EXPECT_THAT(result, HasSubstr("type=\"Acme &quot;Pro&quot; &amp; Co Tool\""));
    EXPECT_EQ(RegKey::Open("\\Security\\AppInstall\\" + name, key), RegResult::NotFound);
    EXPECT_FALSE(device.Exists("\\Program Files\\Probe"));
    EXPECT_EQ(ProbeCalls().size(), 2u);
}

TEST_F(Installer, FirstPackageNamingTheRecordsParentKeyLeavesTheOtherRecordsOnRemoval) {
    // On a fresh device the first package creates \Security itself, before any record exists.
    ASSERT_EQ(RegKey::DeleteKey("\\Security"), RegResult::Ok);
    std::string policy =
        "<characteristic type=\"Registry\"><characteristic type=\"HKLM\\Security\">"
        "<characteristic type=\"Policies\"><parm name=\"A\" value=\"1\" datatype=\"integer\"/>"
        "</characteristic></characteristic></characteristic>";
    ASSERT_TRUE(Install({{"_setup.xml", SetupXml("Policy", "%CE1%\\Policy", policy)}}).ok);
    ASSERT_TRUE(Install(SoftTool()).ok);

    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Policy"), nullptr), 0);
    RegKey key;
    EXPECT_EQ(RegKey::Open("\\Security\\Policies", key), RegResult::NotFound);
    InstallRecord other = Record("Acme Soft Tool");
    EXPECT_EQ(other.installDir, "\\Program Files\\Soft Tool");
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Acme Soft Tool"), nullptr), 0);
    EXPECT_FALSE(device.Exists("\\Program Files\\Soft Tool"));
}

TEST_F(Installer, FoldersSharedByPackagesStayUntilTheLastOneGoes) {
    auto package = [](const std::string& name, bool withData) {
        std::string body = FolderXml("%InstallDir%", {{"run.exe", "RUN.001"}}) +
                           FolderXml("%CE2%", {{"acme.dll", "LIB.002"}});
        if (withData) body += FolderXml("%CE5%\\Acme Data", {});
        return CabFiles{{"_setup.xml", SetupXml(name, "%CE1%\\" + name, body)},
                        {"RUN.001", name},
                        {"LIB.002", "library of " + name}};
    };
    ASSERT_TRUE(Install(package("Alpha", true)).ok);
    ASSERT_TRUE(Install(package("Beta", true)).ok);

    // A new revision of Alpha without the data folder leaves it to Beta.
    ASSERT_TRUE(Install(package("Alpha", false)).ok);
    EXPECT_TRUE(device.Exists("\\My Documents\\Acme Data"));

    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Alpha"), nullptr), 0);
    EXPECT_FALSE(device.Exists("\\Program Files\\Alpha"));
    EXPECT_TRUE(device.Exists("\\My Documents\\Acme Data"));
    EXPECT_EQ(device.ReadFile("\\Windows\\acme.dll"), "library of Alpha");  // the last written

    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Beta"), nullptr), 0);
    EXPECT_FALSE(device.Exists("\\My Documents"));
    EXPECT_FALSE(device.Exists("\\Windows"));
}

TEST_F(Installer, RemovalNeverFollowsALinkOutOfTheDevice) {
    // Host files beside the device root that links made on the device since lead to.
    fs::path outside = platform::DeviceRoot().parent_path() /
                       (platform::DeviceRoot().filename().string() + "-outside");
    fs::create_directories(outside / "Tool Data");
    std::ofstream(outside / "tool.exe") << "not the device's";
    auto linkToOutside = [&](const std::string& deviceFolder, const fs::path& target) {
        fs::path host = platform::HostPath(deviceFolder);
        fs::remove_all(host);
        fs::create_directory_symlink(target, host);
    };
    std::string data = FolderXml("%CE5%\\Tool Data", {});

    // A new revision in another folder moves the old revision's files out of the way.
    CabFiles v1 = SoftTool();
    v1["_setup.xml"] = SetupXml("Acme Soft Tool", "%CE1%\\Soft Tool",
                                FolderXml("%InstallDir%", {{"tool.exe", "TOOL~1.001"}}) + data);
    ASSERT_TRUE(Install(v1).ok);
    linkToOutside("\\Program Files\\Soft Tool", outside);
    CabFiles v2 = v1;
    v2["_setup.xml"] = SetupXml("Acme Soft Tool", "%CE1%\\Soft Tool 2",
                                FolderXml("%InstallDir%", {{"tool.exe", "TOOL~1.001"}}) + data);
    wceload::InstallResult r = Install(v2);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ReadHostFile(outside / "tool.exe"), "not the device's");

    // The removal leaves the files and empty folders the links lead to.
    fs::remove(platform::HostPath("\\Program Files\\Soft Tool"));
    linkToOutside("\\Program Files\\Soft Tool 2", outside);
    linkToOutside("\\My Documents", outside);
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Acme Soft Tool"), nullptr), 0);
    EXPECT_EQ(ReadHostFile(outside / "tool.exe"), "not the device's");
    EXPECT_TRUE(fs::is_directory(outside / "Tool Data"));
    fs::remove_all(outside);
}

}  // namespace
}  // namespace zentri::test
