#pragma once
// Starting requests the way the program does (under appLock, subscribing at once) and
// recording what their delegates saw.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/inet_manager.h"
#include "tests/net/test_server.h"

namespace zentri::test {

struct Seen {
    std::mutex lock;
    std::condition_variable changed;
    int completions = 0;
    bool result = false;
    int32_t size = -1;
    bool hadBody = false;
    std::string body;
    std::vector<double> progress;
    bool appLockHeldInCompletion = false;
    bool appLockHeldInProgress = false;
    int32_t loadingInCompletion = -1;
};

struct Started {
    shared_ptr<HttpRequest> request;
    std::shared_ptr<Seen> seen;
};

Started Start(const std::u16string& url, const std::u16string& path = u"", bool indicator = false);
// Waits for the completion (guard time kGuard); false when it did not come.
bool WaitDone(const Started& started);
// Waits until at least `count` progress calls have arrived.
bool WaitProgress(const Started& started, size_t count);
// Waits until a progress call has reported at least `fraction`.
bool WaitProgressReaches(const Started& started, double fraction);
// True when another thread cannot take appLock right now (so this thread or another holds it).
bool AppLockHeldElsewhere();
// Polls `condition` (for states nothing notifies about) until it holds or the guard time ends.
template <class F>
bool WaitUntil(F condition) {
    auto deadline = std::chrono::steady_clock::now() + kGuard;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace zentri::test
