// The queue of at most five running transfers, cancellation, the loading indicator, the
// serialisation with appLock, and shutdown.

#include <gtest/gtest.h>

#include <future>

#include "app/loading.h"
#include "net/inet_manager.h"
#include "tests/net/test_server.h"
#include "tests/net/tracking.h"
#include "tests/support/temp_device.h"
#include "ui/app_lock.h"
#include "ui/pending_work.h"

namespace zentri::test {
namespace {

class Queue : public ::testing::Test {
  protected:
    ~Queue() override {
        if (InetManager::Instance().QueueSize() > 0) InetManager::Instance().Shutdown();
    }

    std::vector<Started> StartHolds(int count) {
        std::vector<Started> started;
        for (int i = 1; i <= count; ++i)
            started.push_back(Start(server.Url("/hold/q" + std::to_string(i))));
        return started;
    }
    bool WaitForHolds(int first, int last) {
        for (int i = first; i <= last; ++i)
            if (!server.WaitForArrivals("/hold/q" + std::to_string(i), 1)) return false;
        return true;
    }
    int Completions(const Started& s) {
        std::lock_guard<std::mutex> lock(s.seen->lock);
        return s.seen->completions;
    }

    TempDevice device;
    TestServer server;
};

TEST_F(Queue, AtMostFiveRunAndTheNextStartsInQueueOrderWhenOneEnds) {
    std::vector<Started> r = StartHolds(7);
    ASSERT_TRUE(WaitForHolds(1, 5));
    EXPECT_EQ(InetManager::Instance().QueueSize(), 7u);
    EXPECT_EQ(server.Arrivals("/hold/q6"), 0u);

    server.Open("q3");
    ASSERT_TRUE(WaitDone(r[2]));
    ASSERT_TRUE(server.WaitForArrivals("/hold/q6", 1));
    EXPECT_GT(server.ArrivalSequence("/hold/q6"), server.OpenSequence("q3"));
    EXPECT_EQ(server.Arrivals("/hold/q7"), 0u);

    server.Open("q1");
    ASSERT_TRUE(server.WaitForArrivals("/hold/q7", 1));
    EXPECT_GT(server.ArrivalSequence("/hold/q7"), server.OpenSequence("q1"));

    for (const char* gate : {"q2", "q4", "q5", "q6", "q7"})
        server.Open(gate);
    for (size_t i = 0; i < r.size(); ++i) {
        ASSERT_TRUE(WaitDone(r[i]));
        EXPECT_TRUE(r[i].seen->result);
        EXPECT_EQ(r[i].seen->body, "q" + std::to_string(i + 1));
    }
    EXPECT_EQ(InetManager::Instance().QueueSize(), 0u);
}

TEST_F(Queue, CompletionWaitsForAppLock) {
    std::unique_lock<AppLockType> app(AppLock());
    Started s = Start(server.Url("/chunked/1000"));  // no length, so no progress calls
    ASSERT_TRUE(WaitUntil([&] { return !s.request->IsPending(); }));
    EXPECT_EQ(Completions(s), 0) << "the transfer has ended but appLock is held here";
    app.unlock();
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(s.seen->appLockHeldInCompletion);
    EXPECT_EQ(s.seen->body, Pattern(1000));
}

TEST_F(Queue, ACancelledTransferStopsAndCompletesWithTrue) {
    const std::string cab = "\\My Documents\\part.cab";
    device.WriteFile(cab, "old");
    Started memory = Start(server.Url("/stall/100000"));
    Started file = Start(server.Url("/stall/100000"), u"\\My Documents\\part.cab");
    // Everything before the stall (4096 bytes) has arrived.
    ASSERT_TRUE(WaitProgressReaches(memory, 4096 / 100000.0));
    ASSERT_TRUE(WaitProgressReaches(file, 4096 / 100000.0));
    memory.request->Cancel();
    file.request->Cancel();
    ASSERT_TRUE(WaitDone(memory));
    ASSERT_TRUE(WaitDone(file));
    // The server never sent the second part: the transfers stopped on their own.
    EXPECT_TRUE(memory.seen->result);
    EXPECT_EQ(memory.seen->size, 4096);
    EXPECT_EQ(memory.seen->body, Pattern(4096));
    EXPECT_TRUE(file.seen->result);
    EXPECT_EQ(device.ReadFile(cab), Pattern(4096));
}

TEST_F(Queue, CancelWakesATransferWaitingForASilentServer) {
    Started s = Start(server.Url("/silent"));  // default time-outs: 60 s
    ASSERT_TRUE(server.WaitForArrivals("/silent", 1));
    s.request->Cancel();
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(s.seen->result);
}

TEST_F(Queue, ACancelledQueuedRequestCompletesWithoutConnecting) {
    std::vector<Started> holds = StartHolds(5);
    Started queued = Start(server.Url("/bytes/10"));
    ASSERT_TRUE(WaitForHolds(1, 5));
    queued.request->Cancel();
    server.Open("q1");
    ASSERT_TRUE(WaitDone(queued));
    EXPECT_TRUE(queued.seen->result);
    EXPECT_EQ(server.Arrivals("/bytes/10"), 0u);
    for (const char* gate : {"q2", "q3", "q4", "q5"})
        server.Open(gate);
    for (const Started& s : holds)
        ASSERT_TRUE(WaitDone(s));
}

TEST_F(Queue, TheLoadingIndicatorCountsRequestsThatAskForIt) {
    int32_t base = Loading::Instance().Count();
    Started a = Start(server.Url("/hold/a"), u"", true);
    Started b = Start(server.Url("/hold/b"), u"", true);
    Started quiet = Start(server.Url("/hold/c"), u"", false);
    EXPECT_EQ(Loading::Instance().Count(), base + 2);
    server.Open("c");
    ASSERT_TRUE(WaitDone(quiet));
    EXPECT_EQ(quiet.seen->loadingInCompletion, base + 2);
    server.Open("a");
    ASSERT_TRUE(WaitDone(a));
    EXPECT_EQ(a.seen->loadingInCompletion, base + 1);  // lowered before the completion runs
    server.Open("b");
    ASSERT_TRUE(WaitDone(b));
    EXPECT_EQ(b.seen->loadingInCompletion, base);
    EXPECT_EQ(Loading::Instance().Count(), base);
}

TEST_F(Queue, PendingTransfersCountAsWorkUnderWay) {
    EXPECT_FALSE(AnyWorkPending());
    Started s = Start(server.Url("/hold/w"));
    EXPECT_TRUE(AnyWorkPending());
    server.Open("w");
    ASSERT_TRUE(WaitDone(s));
    EXPECT_FALSE(AnyWorkPending());
}

TEST_F(Queue, ShutdownWithNothingRunningReturnsAndTheTransportWorksAfterwards) {
    InetManager::Instance().Shutdown();
    Started s = Start(server.Url("/bytes/10"));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(s.seen->result);
}

TEST_F(Queue, ShutdownStopsRunningTransfersWithoutCallingBack) {
    int32_t base = Loading::Instance().Count();
    std::vector<Started> r = StartHolds(5);
    r.push_back(Start(server.Url("/silent"), u"", true));
    ASSERT_TRUE(WaitForHolds(1, 5));
    auto shutdown = std::async(std::launch::async, [] { InetManager::Instance().Shutdown(); });
    ASSERT_EQ(shutdown.wait_for(kGuard), std::future_status::ready);
    EXPECT_EQ(InetManager::Instance().QueueSize(), 0u);
    for (const Started& s : r) {
        EXPECT_EQ(Completions(s), 0);
        EXPECT_FALSE(s.request->IsPending());
    }
    EXPECT_EQ(server.Arrivals("/silent"), 0u) << "the sixth was never started";
    // No callbacks during shutdown: the indicator keeps its count.
    EXPECT_EQ(Loading::Instance().Count(), base + 1);
    Loading::Instance().Show(false);

    Started after = Start(server.Url("/bytes/10"));
    ASSERT_TRUE(WaitDone(after));
    EXPECT_TRUE(after.seen->result);
}

// The way the program holds a download: the owner keeps the request and the request's handler
// keeps the owner until the answer. A shutdown answers nothing, so it must drop the handler.
TEST_F(Queue, ShutdownReleasesWhatTheHandlersOfStoppedRequestsHold) {
    struct Owner : shared_object {
        explicit Owner(std::atomic<int>& gone) : gone(gone) {}
        ~Owner() override { ++gone; }
        std::atomic<int>& gone;
        shared_ptr<HttpRequest> request;
    };
    std::atomic<int> gone{0};
    {
        std::lock_guard<AppLockType> app(AppLock());
        for (int i = 1; i <= 6; ++i) {  // five running, one still waiting
            shared_ptr<Owner> owner(new Owner(gone));
            owner->request =
                InetManager::Instance().Request(server.Url("/hold/q" + std::to_string(i)), false);
            owner->request->Completion().Add([owner](HttpRequest*, bool) {});
        }
    }
    ASSERT_TRUE(WaitForHolds(1, 5));
    EXPECT_EQ(gone, 0);
    InetManager::Instance().Shutdown();
    EXPECT_EQ(gone, 6);
}

TEST_F(Queue, ShutdownWaitsForACompletionHandlerStillRunning) {
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> handlerDone{false};
    {
        std::lock_guard<AppLockType> app(AppLock());
        auto request = InetManager::Instance().Request(server.Url("/bytes/10"), false);
        request->Completion().Add([&](HttpRequest*, bool) {
            entered.set_value();
            released.wait();
            handlerDone = true;
        });
    }
    ASSERT_EQ(entered.get_future().wait_for(kGuard), std::future_status::ready);
    EXPECT_EQ(InetManager::Instance().QueueSize(), 0u);  // it has left the queue already
    auto shutdown = std::async(std::launch::async, [] { InetManager::Instance().Shutdown(); });
    // Can only fail when Shutdown returns too early, never because the machine is slow.
    EXPECT_EQ(shutdown.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    release.set_value();
    ASSERT_EQ(shutdown.wait_for(kGuard), std::future_status::ready);
    EXPECT_TRUE(handlerDone);
}

}  // namespace
}  // namespace zentri::test
