// "open": the host opener gets the host path of a device file or the address unchanged, the
// caller never waits for it, and a finished opener is collected (no zombie left).

#include "platform/shell_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/paths.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using zentri::test::ScopedEnv;
using zentri::test::TempDevice;

// Waits (as a failure guard only) until the condition holds.
template <typename Condition>
bool WaitFor(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text;
}

// A process's status, or nothing when it ended between the listing of /proc and the read (the
// read then fails with "no such process", which the stream reports by throwing).
std::string ReadStatus(const fs::path& path) {
    try {
        return Read(path);
    } catch (const std::exception&) {
        return {};
    }
}

// Children of this process that still exist: running, or ended but not collected. None are
// left once every opener has ended and been collected.
int Children() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string stat = ReadStatus(entry.path() / "stat");
        size_t close = stat.rfind(')');
        if (close == std::string::npos || close + 4 >= stat.size()) continue;
        char state = stat[close + 2];
        int parent = std::atoi(stat.c_str() + close + 4);
        if (parent == getpid() && state != 'X') ++count;
    }
    return count;
}

// An opener that records its arguments, one per line, then waits until it is released.
class Recorder {
  public:
    explicit Recorder(const fs::path& folder) : folder_(folder) {
        std::string args = Args().string(), release = Release().string();
        std::ofstream(Script()) << "#!/bin/sh\n"
                                   "for a in \"$@\"; do echo \"$a\"; done > '"
                                << args
                                << ".tmp'\n"
                                   "/bin/mv '"
                                << args << ".tmp' '" << args
                                << "'\n"
                                   "n=0; while [ ! -e '"
                                << release
                                << "' ] && [ $n -lt 3000 ]; do\n"
                                   "    /bin/sleep 0.01; n=$((n+1)); done\n";
        chmod(Script().c_str(), 0755);
    }
    fs::path Script() const { return folder_ / "recorder.sh"; }
    fs::path Args() const { return folder_ / "args.txt"; }
    fs::path Release() const { return folder_ / "release"; }

  private:
    fs::path folder_;
};

class ShellOpen : public ::testing::Test {
  protected:
    fs::path Scratch() const {
        return device.Root().parent_path() / (device.Root().filename().string() + "-open");
    }
    void SetUp() override { fs::create_directories(Scratch()); }
    void TearDown() override {
        std::ofstream(Scratch() / "release") << "go";  // no recorder outlives a failed test
        EXPECT_TRUE(WaitFor([] { return Children() == 0; }));
        fs::remove_all(Scratch());
    }

    TempDevice device;
};

TEST_F(ShellOpen, HandsTheHostPathToTheOpenerWithoutWaitingAndCollectsIt) {
    Recorder recorder(Scratch());
    ScopedEnv opener("ZENTRI_OPEN", (recorder.Script().string() + " --from-zentri").c_str());
    device.WriteFile("\\Program Files\\Acme\\tool.exe", "#!/bin/sh\n");

    ASSERT_TRUE(platform::ShellOpen("\\PROGRAM FILES\\acme\\Tool.exe"));
    // Returned while the opener still runs: it cannot end before the release file exists.
    EXPECT_FALSE(fs::exists(recorder.Release()));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(recorder.Args()); }));
    EXPECT_EQ(Read(recorder.Args()),
              "--from-zentri\n" + (device.Root() / "Program Files/Acme/tool.exe").string() + "\n");

    std::ofstream(recorder.Release()) << "go";
    EXPECT_TRUE(WaitFor([] { return Children() == 0; }));
}

TEST_F(ShellOpen, WebAddressesPassUnchangedAndMissingFilesAreRefused) {
    Recorder recorder(Scratch());
    std::ofstream(recorder.Release()) << "go";
    ScopedEnv opener("ZENTRI_OPEN", recorder.Script().c_str());
    const std::string url = "http://127.0.0.1:8642/about?x=1&y=\"2\"";
    ASSERT_TRUE(platform::ShellOpen(url));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(recorder.Args()); }));
    EXPECT_EQ(Read(recorder.Args()), url + "\n");
    fs::remove(recorder.Args());

    EXPECT_FALSE(platform::ShellOpen("\\Windows\\missing.exe"));
    EXPECT_FALSE(platform::ShellOpen(""));
    EXPECT_FALSE(platform::ShellOpen("\\"));
    EXPECT_TRUE(IsWebAddress("mailto:demo@zentri.invalid"));
    EXPECT_FALSE(IsWebAddress("C:\\Windows\\calc.exe"));
    EXPECT_FALSE(IsWebAddress("\\Windows\\a:b.exe"));
    EXPECT_FALSE(IsWebAddress("1http://x"));
    EXPECT_TRUE(WaitFor([] { return Children() == 0; }));
    EXPECT_FALSE(fs::exists(recorder.Args()));  // nothing was opened for the refused targets
}

TEST_F(ShellOpen, UsesXdgOpenFromThePathWhenNoOpenerIsSet) {
    Recorder recorder(Scratch());
    std::ofstream(recorder.Release()) << "go";
    fs::create_symlink(recorder.Script(), Scratch() / "xdg-open");
    ScopedEnv noOpener("ZENTRI_OPEN", nullptr);
    {
        ScopedEnv path("PATH", Scratch().c_str());
        ASSERT_TRUE(platform::ShellOpen("https://example.invalid/"));
    }
    ASSERT_TRUE(WaitFor([&] { return fs::exists(recorder.Args()); }));
    EXPECT_EQ(Read(recorder.Args()), "https://example.invalid/\n");

    ScopedEnv emptyPath("PATH", (Scratch() / "nothing").c_str());
    EXPECT_FALSE(platform::ShellOpen("https://example.invalid/"));
}

}  // namespace
}  // namespace platform
