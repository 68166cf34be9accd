// The transport at program exit: running transfers are stopped and joined by the static
// destruction of the managers, without calling back and without hanging.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "platform/process.h"
#include "tests/net/test_server.h"
#include "tests/support/temp_device.h"

namespace zentri::test {
namespace {

struct ProbeRun {
    int exitCode = -1;
    std::string report;
};

ProbeRun RunProbe(int requests) {
    TempDevice device;
    std::filesystem::path report = device.Root() / "report.txt";
    auto process =
        platform::Process::StartHost({NET_EXIT_PROBE, report.string(), std::to_string(requests)});
    EXPECT_TRUE(process.has_value());
    if (!process) return {};
    auto exit = std::async(std::launch::async, [&] { return process->Wait(); });
    if (exit.wait_for(kGuard) != std::future_status::ready) {
        kill(process->Pid(), SIGKILL);
        exit.wait();
        ADD_FAILURE() << "the program did not end";
        return {};
    }
    std::ifstream in(report);
    std::ostringstream text;
    text << in.rdbuf();
    return {exit.get(), text.str()};
}

TEST(Exit, WithNoTransferRunning) {
    ProbeRun run = RunProbe(0);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "queued 0\n");
}

TEST(Exit, WithFiveTransfersRunningAndOneQueued) {
    ProbeRun run = RunProbe(6);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "queued 6\n") << "nothing may call back while the program ends";
}

}  // namespace
}  // namespace zentri::test
