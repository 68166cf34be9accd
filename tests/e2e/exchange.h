#pragma once
// One request through the transport's queue, waited for: what both end-to-end walks do for
// each call to the service.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "net/http_request.h"
#include "net/xml_response.h"
#include "ui/app_lock.h"

namespace zentri::test {

// Starts the request `start` returns and waits for its end (60 s at most, a failure guard);
// `onEnd` runs in the completion handler (on the transfer thread, under appLock), where the
// body still exists. False when the request did not end in time.
inline bool Exchange(const std::function<shared_ptr<HttpRequest>()>& start,
                     std::function<void(HttpRequest*, bool)> onEnd) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool ended = false;
    };
    auto state = std::make_shared<State>();
    {
        // Subscribing under appLock: the completion cannot run before this block ends.
        std::lock_guard<AppLockType> app(AppLock());
        start()->Completion().Add([state, onEnd](HttpRequest* r, bool ok) {
            onEnd(r, ok);
            std::lock_guard<std::mutex> lock(state->mutex);
            state->ended = true;
            state->done.notify_all();
        });
    }
    std::unique_lock<std::mutex> lock(state->mutex);
    return state->done.wait_for(lock, std::chrono::seconds(60), [&] { return state->ended; });
}

// The result code of the answer read by `parser` (999 for a failed transfer).
inline int32_t Call(const std::function<shared_ptr<HttpRequest>()>& start, XMLResponse& parser) {
    int32_t code = -1;
    EXPECT_TRUE(Exchange(start, [&](HttpRequest* r, bool ok) {
        code = ok ? parser.Parse(r->Body(), static_cast<size_t>(r->Size())) : kResultUnreadable;
    }));
    return code;
}

}  // namespace zentri::test
