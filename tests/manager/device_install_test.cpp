// Installs and uninstalls through the device's own installer and configuration manager, with
// packages built by the tests: what a bad package leaves (nothing), and a removal by a name that
// needs escaping.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "manager/app_manager.h"
#include "platform/device_program.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/manager/manager_fixture.h"
#include "ui/app_lock.h"

namespace zentri {
namespace {

namespace fs = std::filesystem;
using test::CatalogueEntry;
using test::ManagerTest;

constexpr const char* kCabs = "\\Program Files\\Zentri\\cabs\\";

// An install document for one program file in its own folder, with a shortcut.
std::string SetupXml(const std::string& appNameXml, const std::string& folder,
                     const std::string& target) {
    return R"(<wap-provisioningdoc>
  <characteristic type="Install">
    <parm name="InstallPhase" value="install" />
    <parm name="AppName" value=")" +
           appNameXml + R"(" />
    <parm name="InstallDir" value=")" +
           folder + R"(" translation="install" />
  </characteristic>
  <characteristic type="FileOperation">
    <characteristic type="%InstallDir%" translation="install">
      <characteristic type="MakeDir" />
      <characteristic type=")" +
           target + R"(" translation="install">
        <characteristic type="Extract"><parm name="Source" value="TOOL.001" /></characteristic>
      </characteristic>
    </characteristic>
  </characteristic>
</wap-provisioningdoc>
)";
}

class DeviceInstall : public ManagerTest {
  protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_TRUE(platform::StageInstaller());
        platform::RegKey records;
        platform::RegKey::Create("\\Security\\AppInstall", records);
    }

    // Installs the CAB at its device path in the cabs folder through App::Install; the result.
    bool InstallCab(const std::string& sysid, const std::string& file) {
        shared_ptr<App> a = CatalogueApp(CatalogueEntry(0, sysid, 3));
        {
            std::lock_guard<AppLockType> lock(AppLock());
            log.Attach(*a);
            a->Install(platform::Utf8ToUtf16(kCabs + file));
        }
        bool ok = log.WaitEnd(*a, App::Installing);
        test::Settle();  // the revision is written after the report
        return ok;
    }

    // Every file below the device root, the registry database aside.
    std::vector<std::string> Files() {
        std::vector<std::string> files;
        for (auto& entry : fs::recursive_directory_iterator(device.Root())) {
            std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name.rfind("registry.sqlite3", 0) != 0)
                files.push_back(fs::relative(entry.path(), device.Root()).string());
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(DeviceInstall, NotACabIsRefused) {
    device.WriteFile(kCabs + std::string("junk.cab"), "MZ this is not a cabinet");
    EXPECT_FALSE(InstallCab("Acme Junk", "junk.cab"));
    test::Settle();
    EXPECT_EQ(RegistryRevision("Acme Junk"), -1);
    EXPECT_FALSE(device.Exists("\\Program Files\\Zentri\\cabs\\junk.cab"));
}

TEST_F(DeviceInstall, APackageThatWritesOutsideItsFoldersIsRefusedWhole) {
    // Relative escapes through the install folder and through a file name.
    test::MakeCab(kCabs + std::string("up.cab"),
                  {{"_setup.xml", SetupXml("Acme Up", "%CE1%\\..\\..\\..\\outside", "tool.exe")},
                   {"TOOL.001", "#!/bin/sh\n"}});
    test::MakeCab(
        kCabs + std::string("name.cab"),
        {{"_setup.xml", SetupXml("Acme Name", "%CE1%\\Acme", "..\\..\\..\\..\\outside.exe")},
         {"TOOL.001", "#!/bin/sh\n"}});
    std::vector<std::string> before = Files();
    EXPECT_FALSE(InstallCab("Acme Up", "up.cab"));
    EXPECT_FALSE(InstallCab("Acme Name", "name.cab"));
    test::Settle();
    EXPECT_EQ(RegistryRevision("Acme Up"), -1);
    EXPECT_EQ(RegistryRevision("Acme Name"), -1);
    // Nothing appeared anywhere; only the two CABs went (disposed of after the installer ran).
    std::vector<std::string> after = Files();
    std::erase_if(before, [](const std::string& f) { return f.find("cabs") != std::string::npos; });
    EXPECT_EQ(after, before);
    EXPECT_FALSE(fs::exists(device.Root().parent_path() / "outside.exe"));
    EXPECT_FALSE(fs::exists(device.Root().parent_path() / "outside"));
}

TEST_F(DeviceInstall, ANameWithBlanksQuotesAndAmpersandsIsInstalledAndRemoved) {
    const std::string name = "Acme \"Q\" & Sons";
    test::MakeCab(kCabs + std::string("q.cab"),
                  {{"_setup.xml", SetupXml("Acme &quot;Q&quot; &amp; Sons", "%CE1%\\Q", "q.exe")},
                   {"TOOL.001", "#!/bin/sh\n"}});
    ASSERT_TRUE(InstallCab(name, "q.cab"));
    EXPECT_EQ(RegistryRevision(name), 3);
    EXPECT_TRUE(device.Exists("\\Program Files\\Q\\q.exe"));
    EXPECT_EQ(Manager().FindExecutable(platform::Utf8ToUtf16(name), u"q.exe"),
              u"\\Program Files\\Q\\q.exe");

    shared_ptr<App> q = MakeShared<App>(platform::Utf8ToUtf16(name));
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*q);
        q->Uninstall();
    }
    EXPECT_TRUE(log.WaitEnd(*q, App::Uninstalling));
    EXPECT_EQ(RegistryRevision(name), -1);
    EXPECT_FALSE(device.Exists("\\Program Files\\Q\\q.exe"));

    // A second removal of the same name is refused by the configuration manager.
    shared_ptr<App> again = MakeShared<App>(platform::Utf8ToUtf16(name));
    {
        std::lock_guard<AppLockType> lock(AppLock());
        log.Attach(*again);
        again->Uninstall();
    }
    EXPECT_FALSE(log.WaitEnd(*again, App::Uninstalling));
}

TEST_F(DeviceInstall, ASetupLibraryThatCrashesFailsTheUninstallAndTheClientGoesOn) {
    // The package's setup library is the test probe (tests/platform/setup_probe.cpp).
    std::string xml = SetupXml("Acme Crash", "%CE1%\\Crash", "crash.exe");
    xml.insert(xml.find("  </characteristic>"),
               "    <parm name=\"SetupDLL\" value=\"SETUP.002\" />\n");
    std::ifstream probe(ZENTRI_SETUP_PROBE, std::ios::binary);
    std::string library((std::istreambuf_iterator<char>(probe)), std::istreambuf_iterator<char>());
    test::MakeCab(kCabs + std::string("crash.cab"),
                  {{"_setup.xml", xml}, {"TOOL.001", "#!/bin/sh\n"}, {"SETUP.002", library}});
    ASSERT_TRUE(InstallCab("Acme Crash", "crash.cab"));

    auto uninstall = [this] {
        shared_ptr<App> a = MakeShared<App>(u"Acme Crash");
        {
            std::lock_guard<AppLockType> lock(AppLock());
            log.Attach(*a);
            a->Uninstall();
        }
        return log.WaitEnd(*a, App::Uninstalling);
    };
    {
        test::ScopedEnv crash("ZENTRI_SETUP_PROBE_CRASH", "Uninstall_Init");
        EXPECT_FALSE(uninstall());
    }
    EXPECT_EQ(RegistryRevision("Acme Crash"), 3);
    EXPECT_TRUE(device.Exists("\\Program Files\\Crash\\crash.exe"));
    // This process is still here and the device still usable: the next removal goes through.
    EXPECT_TRUE(uninstall());
    EXPECT_EQ(RegistryRevision("Acme Crash"), -1);
    EXPECT_FALSE(device.Exists("\\Program Files\\Crash"));
}

TEST_F(DeviceInstall, RunHandsTheExecutablesHostPathToTheOpener) {
    Register("Acme Run", 1, {"\\Program Files\\Acme\\run.exe"});
    device.WriteFile("\\Program Files\\Acme\\run.exe", "#!/bin/sh\n");
    ASSERT_EQ(mkfifo((device.Root() / "opened").c_str(), 0600), 0);
    std::string opener = (device.Root() / "opener.sh").string();
    {
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" > '"
                              << (device.Root() / "opened").string() << "'\n";
    }
    fs::permissions(opener, fs::perms::owner_all, fs::perm_options::add);
    test::ScopedEnv open("ZENTRI_OPEN", opener.c_str());

    Manager().Run(u"Acme Run", u"missing.exe");  // nothing to open: nothing happens
    Manager().Run(u"Acme Run", u"run.exe");
    EXPECT_EQ(test::ReadFifo(device.Root() / "opened"),
              platform::HostPath("\\Program Files\\Acme\\run.exe").string() + "\n");
}

}  // namespace
}  // namespace zentri
