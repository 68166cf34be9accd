// The installer's commit under crashes and races: the real installer program killed at every
// commit point in turn (ZENTRI_INSTALL_FAULT) and recovered by the next run of the installer or
// of the configuration manager, which must leave exactly the old or exactly the new state, from
// which an uninstall leaves the device clean; and the install folder swapped for a link to a
// host folder between the checks and the placement.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/config_manager.h"
#include "platform/install_journal.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "tests/platform/package_fixture.h"
#include "tools/wceload/installer.h"

namespace zentri::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCab = "\\Program Files\\Zentri\\cabs\\package.cab";
constexpr const char* kApp = "Crash Tool";

std::string Registry(int version, bool oldKey) {
    std::string xml =
        "<characteristic type=\"Registry\"><characteristic "
        "type=\"HKLM\\Software\\Crash\\Tool\"><parm name=\"Version\" value=\"" +
        std::to_string(version) + "\" datatype=\"integer\"/></characteristic>";
    if (oldKey)
        xml +=
            "<characteristic type=\"HKLM\\Software\\Crash\\Old\"><parm name=\"A\" "
            "value=\"1\"/></characteristic>";
    return xml + "</characteristic>";
}

// Revision 2 rewrites the program, drops a file, a folder, a shortcut and a key of revision 1
// and adds others.
CabFiles Revision(int n) {
    std::string body;
    if (n == 1)
        body = FolderXml("%InstallDir%", {{"tool.exe", "TOOL.001"}, {"old.txt", "OTHER.002"}}) +
               FolderXml("%InstallDir%\\Old", {{"old.dat", "OTHER.002"}}) +
               ShortcutXml("%CE17%", "Crash.lnk", "%InstallDir%\\tool.exe") + Registry(1, true);
    else
        body = FolderXml("%InstallDir%", {{"TOOL.EXE", "TOOL.001"}, {"new.txt", "OTHER.002"}}) +
               FolderXml("%InstallDir%\\Docs", {{"guide.txt", "OTHER.002"}}) +
               ShortcutXml("%CE11%", "Crash.lnk", "%InstallDir%\\TOOL.EXE") + Registry(2, false);
    return {{"_setup.xml", SetupXml(kApp, "%CE1%\\Crash Tool", body)},
            {"TOOL.001", "tool " + std::to_string(n)},
            {"OTHER.002", "other " + std::to_string(n)}};
}

std::string CabBytes(const CabFiles& files) {
    TempDevice scratch;
    MakeCab(kCab, files);
    return scratch.ReadFile(kCab);
}

// The installer program on the package, killed at the given commit point (0: never).
int RunInstaller(long faultAt, const std::string& cab = kCab) {
    std::string value = std::to_string(faultAt);
    ScopedEnv fault("ZENTRI_INSTALL_FAULT", faultAt > 0 ? value.c_str() : nullptr);
    auto process =
        platform::Process::StartHost({ZENTRI_WCELOAD_PROGRAM, "/noui", "/delete", "0", cab});
    return process ? process->Wait() : -2;
}

// Kills the installer at every commit point of installing `package` (over `installed`, when
// given) and checks what the next run leaves.
void CrashAtEveryCommitPoint(const std::string& package, const std::string& installed) {
    auto prepare = [&](TempDevice& device) {
        PrepareHandset();
        if (!installed.empty()) {
            device.WriteFile(kCab, installed);
            ASSERT_TRUE(wceload::InstallCab(kCab).ok);
        }
        device.WriteFile(kCab, package);
    };
    DeviceSnapshot clean, oldState, newState;
    {
        TempDevice device;
        PrepareHandset();
        device.WriteFile(kCab, package);
        clean = TakeSnapshot();
    }
    {
        TempDevice device;
        prepare(device);
        ASSERT_EQ(RunInstaller(0), 0);
        newState = TakeSnapshot();
    }
    int rolledBack = 0, rolledForward = 0;
    for (long point = 1;; ++point) {
        SCOPED_TRACE("killed at commit point " + std::to_string(point));
        ASSERT_LT(point, 100);
        TempDevice device;
        prepare(device);
        oldState = TakeSnapshot();
        int code = RunInstaller(point);
        if (code == 0) break;  // fewer commit points than that: every one has been tried
        ASSERT_EQ(code, -1) << "not killed";

        // The next run: of the installer (on a package that is not there) or of the
        // configuration manager (removing a package that is not installed).
        if (point % 2)
            EXPECT_EQ(RunInstaller(0, "\\missing.cab"), 1);
        else
            EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument("Nobody"), nullptr),
                      platform::kConfigNotInstalled);
        DeviceSnapshot after = TakeSnapshot();
        bool isOld = after == oldState, isNew = after == newState;
        EXPECT_TRUE(isOld || isNew) << "against the old state:\n"
                                    << Describe(oldState, after) << "against the new state:\n"
                                    << Describe(newState, after);
        rolledBack += isOld;
        rolledForward += isNew;

        EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument(kApp), nullptr),
                  installed.empty() && isOld ? platform::kConfigNotInstalled : platform::kConfigOk);
        DeviceSnapshot removed = TakeSnapshot();
        EXPECT_EQ(removed, clean) << Describe(clean, removed);
    }
    EXPECT_GT(rolledBack, 3);
    EXPECT_GT(rolledForward, 0);
}

TEST(InstallCrash, AKilledFirstInstallLeavesNothingOrTheWholePackage) {
    CrashAtEveryCommitPoint(CabBytes(Revision(2)), "");
}

TEST(InstallCrash, AKilledUpdateLeavesTheOldOrTheNewRevision) {
    CrashAtEveryCommitPoint(CabBytes(Revision(2)), CabBytes(Revision(1)));
}

TEST(InstallCrash, ARecoveryKilledInTurnIsRunAgain) {
    std::string revision1 = CabBytes(Revision(1)), revision2 = CabBytes(Revision(2));
    auto prepare = [&](TempDevice& device) {
        PrepareHandset();
        device.WriteFile(kCab, revision1);
        ASSERT_TRUE(wceload::InstallCab(kCab).ok);
        device.WriteFile(kCab, revision2);
    };
    // The commit point just before the registry is written, when every file step is done.
    long registryPoint = 0;
    {
        TempDevice device;
        prepare(device);
        std::vector<std::string> points;
        platform::SetCommitHook([&](std::string_view step) { points.emplace_back(step); });
        ASSERT_TRUE(wceload::InstallCab(kCab).ok);
        platform::SetCommitHook(nullptr);
        registryPoint = std::find(points.begin(), points.end(), "registry") - points.begin() + 1;
        ASSERT_GT(registryPoint, 8);
    }
    for (long point = 1;; ++point) {
        SCOPED_TRACE("recovery killed at point " + std::to_string(point));
        ASSERT_LT(point, 100);
        TempDevice device;
        prepare(device);
        DeviceSnapshot old = TakeSnapshot();
        ASSERT_EQ(RunInstaller(registryPoint), -1);
        int code = RunInstaller(point, "\\missing.cab");
        if (code == 1) break;  // the recovery passed all its points
        ASSERT_EQ(code, -1);
        EXPECT_EQ(RunInstaller(0, "\\missing.cab"), 1);
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(old, after) << Describe(old, after);
    }
}

TEST(InstallCrash, SetAsideFilesOfAnUnfinishedCommitSurviveOtherInstalls) {
    std::string revision1 = CabBytes(Revision(1));  // gcab stamps the time: built once
    TempDevice device;
    PrepareHandset();
    device.WriteFile(kCab, revision1);
    ASSERT_TRUE(wceload::InstallCab(kCab).ok);
    DeviceSnapshot old = TakeSnapshot();
    device.WriteFile(kCab, CabBytes(Revision(2)));
    ASSERT_EQ(RunInstaller(4), -1);  // after two files of revision 1 were set aside

    // An unrelated package installs fine, after the interrupted one was undone.
    const std::string other = "\\Program Files\\Zentri\\cabs\\other.cab";
    MakeCab(other, {{"_setup.xml", SetupXml("Other", "%CE1%\\Other",
                                            FolderXml("%InstallDir%", {{"o.txt", "O.001"}}))},
                    {"O.001", "o"}});
    ASSERT_TRUE(wceload::InstallCab(other).ok);
    ASSERT_EQ(platform::ProcessConfiguration(UninstallDocument("Other"), nullptr), 0);
    fs::remove(platform::HostPath(other));
    device.WriteFile(kCab, revision1);
    DeviceSnapshot after = TakeSnapshot();
    EXPECT_EQ(old, after) << Describe(old, after);
}

TEST(InstallCrash, AJournalThatCannotBeUndoneIsKeptAndStopsTheNextInstall) {
    TempDevice device;
    PrepareHandset();
    device.WriteFile(kCab, CabBytes(Revision(1)));
    ASSERT_TRUE(wceload::InstallCab(kCab).ok);
    device.WriteFile(kCab, CabBytes(Revision(2)));
    ASSERT_EQ(RunInstaller(4), -1);

    // The install folder became a link: the set-aside files cannot go back through it.
    fs::path folder = platform::HostPath("\\Program Files\\Crash Tool");
    fs::path aside = device.Root().parent_path() / (device.Root().filename().string() + "-aside");
    fs::rename(folder, aside);
    fs::create_directory_symlink(aside, folder);
    wceload::InstallResult r = wceload::InstallCab(kCab);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("cannot be undone"), std::string::npos) << r.error;
    EXPECT_EQ(platform::ProcessConfiguration(UninstallDocument(kApp), nullptr),
              platform::kConfigFailed);

    // Once the folder is back, the next run restores revision 1.
    fs::remove(folder);
    fs::rename(aside, folder);
    ASSERT_TRUE(wceload::InstallCab(kCab).ok);  // and installs revision 2 properly
    EXPECT_EQ(device.ReadFile("\\Program Files\\Crash Tool\\TOOL.EXE"), "tool 2");
    EXPECT_FALSE(device.Exists("\\Program Files\\Crash Tool\\old.txt"));
}

TEST(InstallJournal, ReadsBackWhatItWroteAndNothingElse) {
    using Kind = platform::JournalStep::Kind;
    platform::InstallJournal journal;
    journal.appName = "Acme 100% \"Tool\"";
    journal.commit = 4294967295u;
    journal.steps = {{Kind::SetAside, "\\A\\50%\tof it", "backup/0"},
                     {Kind::MakeFolder, "\\A\\New", ""},
                     {Kind::Place, "\\A\\New\\x\ny", "files/0"}};
    journal.abandoned = {"\\A\\Old"};
    std::string text = platform::FormatJournal(journal);
    platform::InstallJournal read;
    ASSERT_TRUE(platform::ParseJournal(text, read));
    EXPECT_EQ(read.appName, journal.appName);
    EXPECT_EQ(read.commit, journal.commit);
    ASSERT_EQ(read.steps.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.steps[i].kind, journal.steps[i].kind);
        EXPECT_EQ(read.steps[i].path, journal.steps[i].path);
        EXPECT_EQ(read.steps[i].stored, journal.steps[i].stored);
    }
    EXPECT_EQ(read.abandoned, journal.abandoned);

    // Cut short, or naming a file outside the staging folder: not a journal to act on.
    EXPECT_FALSE(platform::ParseJournal(text.substr(0, text.size() - 4), read));
    journal.steps[2].stored = "files/../../Program Files/victim";
    EXPECT_FALSE(platform::ParseJournal(platform::FormatJournal(journal), read));
}

TEST(InstallRace, AnInstallFolderSwappedForALinkNeverLeadsOutOfTheDevice) {
    // "journal": after the checks, before the folder is made; "place": after it was made and
    // opened, before the first file goes in.
    for (const char* point : {"journal", "place"}) {
        SCOPED_TRACE(point);
        TempDevice device;
        PrepareHandset();
        MakeCab(kCab, Revision(2));
        fs::path outside =
            device.Root().parent_path() / (device.Root().filename().string() + "-out");
        fs::path moved =
            device.Root().parent_path() / (device.Root().filename().string() + "-moved");
        fs::create_directories(outside);
        DeviceSnapshot before = TakeSnapshot();
        fs::path folder = device.Root() / "Program Files" / "Crash Tool";
        bool swapped = false;
        platform::SetCommitHook([&](std::string_view step) {
            if (swapped || step != point) return;
            swapped = true;
            if (fs::exists(folder)) fs::rename(folder, moved);
            fs::create_directory_symlink(outside, folder);
        });
        wceload::InstallResult r = wceload::InstallCab(kCab);
        platform::SetCommitHook(nullptr);
        EXPECT_TRUE(swapped);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(fs::is_empty(outside));
        EXPECT_TRUE(!fs::exists(moved) || fs::is_empty(moved));
        fs::remove(folder);
        DeviceSnapshot after = TakeSnapshot();
        EXPECT_EQ(before, after) << Describe(before, after);
        EXPECT_TRUE(wceload::InstallCab(kCab).ok);
        fs::remove_all(outside);
        fs::remove_all(moved);
    }
}

}  // namespace
}  // namespace zentri::test
