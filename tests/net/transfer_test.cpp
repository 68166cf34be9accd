// The body loops: memory and file, with and without an announced length, and the ways a
// transfer fails.

#include <gtest/gtest.h>

#include <filesystem>

#include "net/inet_manager.h"
#include "platform/paths.h"
#include "tests/net/test_server.h"
#include "tests/net/tracking.h"
#include "tests/support/temp_device.h"
#include "ui/app_lock.h"

namespace zentri::test {
namespace {

constexpr char kCab[] = "\\Program Files\\Zentri\\cabs\\tool.cab";
constexpr char16_t kCab16[] = u"\\Program Files\\Zentri\\cabs\\tool.cab";

class Transfers : public ::testing::Test {
  protected:
    Transfers() {
        std::filesystem::create_directories(platform::HostPath("\\Program Files\\Zentri\\cabs"));
    }
    ~Transfers() override {
        InetManager::Instance().SetTimeoutsForTesting({});
        // A test that failed half-way leaves nothing running for the next one.
        if (InetManager::Instance().QueueSize() > 0) InetManager::Instance().Shutdown();
    }

    // Progress goes up in steps of at most one read (2048 bytes) and ends with two calls at
    // 1.0: after the last read with data and after the final empty read.
    static void ExpectProgressByChunks(const std::vector<double>& progress, double size) {
        ASSERT_GE(progress.size(), static_cast<size_t>(size / 2048) + 2);
        double previous = 0;
        for (double fraction : progress) {
            EXPECT_GE(fraction, previous);
            EXPECT_LE(fraction - previous, 2048 / size + 1e-12);
            previous = fraction;
        }
        EXPECT_EQ(progress.back(), 1.0);
        EXPECT_EQ(progress[progress.size() - 2], 1.0);
    }

    TempDevice device;
    TestServer server;
};

TEST_F(Transfers, MemoryBodyOfAnnouncedLengthIsReadByChunksWithProgress) {
    Started s = Start(server.Url("/bytes/50000"));
    ASSERT_TRUE(WaitDone(s));
    Seen& seen = *s.seen;
    std::lock_guard<std::mutex> lock(seen.lock);
    EXPECT_EQ(seen.completions, 1);
    EXPECT_TRUE(seen.result);
    EXPECT_EQ(seen.size, 50000);
    EXPECT_EQ(seen.body, Pattern(50000));
    EXPECT_TRUE(seen.appLockHeldInCompletion);
    EXPECT_TRUE(seen.appLockHeldInProgress);
    ExpectProgressByChunks(seen.progress, 50000);
    std::lock_guard<AppLockType> app(AppLock());
    EXPECT_EQ(s.request->Body(), nullptr) << "the body is freed after the completion handlers";
    EXPECT_FALSE(s.request->IsPending());
}

TEST_F(Transfers, MemoryBodyWithoutLengthGrowsAndReportsNoProgress) {
    for (const char* route : {"/chunked/", "/nolength/"}) {
        SCOPED_TRACE(route);
        const size_t size = 200000;  // several doublings of the 20480-byte start
        Started s = Start(server.Url(route + std::to_string(size)));
        ASSERT_TRUE(WaitDone(s));
        std::lock_guard<std::mutex> lock(s.seen->lock);
        EXPECT_TRUE(s.seen->result);
        EXPECT_EQ(s.seen->size, static_cast<int32_t>(size));
        EXPECT_EQ(s.seen->body, Pattern(size));
        EXPECT_TRUE(s.seen->progress.empty());
    }
}

TEST_F(Transfers, EmptyBodiesSucceed) {
    Started memory = Start(server.Url("/bytes/0"));
    Started file = Start(server.Url("/bytes/0"), kCab16);
    ASSERT_TRUE(WaitDone(memory));
    ASSERT_TRUE(WaitDone(file));
    EXPECT_TRUE(memory.seen->result);
    EXPECT_EQ(memory.seen->size, 0);
    EXPECT_TRUE(file.seen->result);
    EXPECT_TRUE(device.Exists(kCab));
    EXPECT_EQ(device.ReadFile(kCab), "");
}

TEST_F(Transfers, FileBodyOfAnnouncedLengthIsWrittenWithProgress) {
    const size_t size = 300001;
    Started s = Start(server.Url("/bytes/" + std::to_string(size)), kCab16);
    ASSERT_TRUE(WaitDone(s));
    std::lock_guard<std::mutex> lock(s.seen->lock);
    EXPECT_TRUE(s.seen->result);
    EXPECT_FALSE(s.seen->hadBody);
    EXPECT_EQ(s.seen->size, static_cast<int32_t>(size));
    ExpectProgressByChunks(s.seen->progress, size);
    EXPECT_EQ(device.ReadFile(kCab), Pattern(size));
}

TEST_F(Transfers, FileBodyWithoutLengthIsWrittenWithoutProgress) {
    device.WriteFile(kCab, std::string(500000, 'x'));  // an older, longer file is truncated
    Started s = Start(server.Url("/chunked/100000"), kCab16);
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(s.seen->result);
    EXPECT_TRUE(s.seen->progress.empty());
    EXPECT_EQ(device.ReadFile(kCab), Pattern(100000));
}

TEST_F(Transfers, TheTargetFolderIsFoundCaseInsensitively) {
    Started s = Start(server.Url("/bytes/10"), u"\\PROGRAM FILES\\zentri\\CABS\\x.cab");
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(s.seen->result);
    EXPECT_EQ(device.ReadFile("\\Program Files\\Zentri\\cabs\\x.cab"), Pattern(10));
}

TEST_F(Transfers, AFileThatCannotBeCreatedFailsTheTransfer) {
    Started s = Start(server.Url("/bytes/10"), u"\\No Such Folder\\x.cab");
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(s.seen->result);
    EXPECT_FALSE(device.Exists("\\No Such Folder\\x.cab"));
}

TEST_F(Transfers, ABodyCutShortFailsAndLeavesNoFile) {
    for (const char* route : {"/cut/100000", "/chunkedcut/100000"}) {
        SCOPED_TRACE(route);
        Started memory = Start(server.Url(route));
        Started file = Start(server.Url(route), kCab16);
        ASSERT_TRUE(WaitDone(memory));
        ASSERT_TRUE(WaitDone(file));
        EXPECT_FALSE(memory.seen->result);
        EXPECT_FALSE(file.seen->result);
        EXPECT_FALSE(device.Exists(kCab));
    }
}

TEST_F(Transfers, AStalledBodyTimesOutAndLeavesNoFile) {
    InetManager::Instance().SetTimeoutsForTesting(
        {std::chrono::milliseconds(2000), std::chrono::seconds(1)});
    Started s = Start(server.Url("/stall/100000"), kCab16);
    ASSERT_TRUE(WaitProgress(s, 1));
    EXPECT_TRUE(device.Exists(kCab));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(s.seen->result);
    EXPECT_FALSE(device.Exists(kCab));
}

TEST_F(Transfers, ASilentServerTimesOut) {
    InetManager::Instance().SetTimeoutsForTesting(
        {std::chrono::milliseconds(2000), std::chrono::seconds(1)});
    Started s = Start(server.Url("/silent"), u"", true);
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(s.seen->result);
    EXPECT_EQ(InetManager::Instance().QueueSize(), 0u);
}

TEST_F(Transfers, AnUnreachableServerFails) {
    Started s = Start(u"http://127.0.0.1:1/x");
    Started noHost = Start(u"http:///x");
    ASSERT_TRUE(WaitDone(s));
    ASSERT_TRUE(WaitDone(noHost));
    EXPECT_FALSE(s.seen->result);
    EXPECT_FALSE(noHost.seen->result);
}

TEST_F(Transfers, HttpsIsSpokenWhenTheAddressSaysSo) {
    // The test server speaks plain HTTP, so a TLS handshake with it fails.
    std::u16string url = server.Url("/bytes/10");
    Started s = Start(u"https" + url.substr(4));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(s.seen->result);
    EXPECT_EQ(server.Arrivals("/bytes/10"), 0u);
}

TEST_F(Transfers, AnErrorPageIsABodyInMemoryButNoFile) {
    Started memory = Start(server.Url("/missing"));
    Started file = Start(server.Url("/missing"), kCab16);
    ASSERT_TRUE(WaitDone(memory));
    ASSERT_TRUE(WaitDone(file));
    EXPECT_TRUE(memory.seen->result);
    EXPECT_EQ(memory.seen->body, "<html><body>Not Found</body></html>");
    EXPECT_FALSE(file.seen->result);
    EXPECT_FALSE(device.Exists(kCab));
}

TEST_F(Transfers, ABodyLongerThanAnnouncedNeverOverrunsTheBuffer) {
    // 10 bytes announced, 5000 sent.
    Started memory = Start(server.Url("/overlong"));
    Started file = Start(server.Url("/overlong"), kCab16);
    ASSERT_TRUE(WaitDone(memory));
    ASSERT_TRUE(WaitDone(file));
    EXPECT_TRUE(memory.seen->result);
    EXPECT_EQ(memory.seen->size, 10);
    EXPECT_EQ(memory.seen->body, Pattern(10));
    EXPECT_EQ(memory.seen->progress.back(), 1.0);
    EXPECT_TRUE(file.seen->result);
    EXPECT_EQ(device.ReadFile(kCab), Pattern(5000));
    for (double fraction : file.seen->progress)
        EXPECT_LE(fraction, 1.0);
}

TEST_F(Transfers, AnAnnouncedLengthTooLargeForMemoryFailsAtOnce) {
    // The server announces 100 MiB and stalls after a few bytes: only the limit ends this.
    Started s = Start(server.Url("/stall/104857600"));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(s.seen->result);
    EXPECT_FALSE(s.seen->hadBody);
}

TEST_F(Transfers, ABodyOfUnannouncedLengthTooLargeForMemoryFails) {
    const size_t size = HttpRequest::kMaxMemoryBody + 30000;
    Started memory = Start(server.Url("/chunked/" + std::to_string(size)));
    ASSERT_TRUE(WaitDone(memory));
    EXPECT_FALSE(memory.seen->result);
}

}  // namespace
}  // namespace zentri::test
