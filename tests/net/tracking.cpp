#include "tests/net/tracking.h"

#include <future>

#include "app/loading.h"
#include "ui/app_lock.h"

namespace zentri::test {

bool AppLockHeldElsewhere() {
    return !std::async(std::launch::async, [] {
                bool got = AppLock().try_lock();
                if (got) AppLock().unlock();
                return got;
            }).get();
}

Started Start(const std::u16string& url, const std::u16string& path, bool indicator) {
    std::lock_guard<AppLockType> app(AppLock());
    Started s{InetManager::Instance().Request(url, indicator, path), std::make_shared<Seen>()};
    std::shared_ptr<Seen> seen = s.seen;
    s.request->Completion().Add([seen](HttpRequest* r, bool ok) {
        bool held = AppLockHeldElsewhere();
        int32_t loading = Loading::Instance().Count();
        std::lock_guard<std::mutex> lock(seen->lock);
        ++seen->completions;
        seen->result = ok;
        seen->size = r->Size();
        seen->hadBody = r->Body() != nullptr;
        if (r->Body() && r->Size() > 0)
            seen->body.assign(reinterpret_cast<const char*>(r->Body()), r->Size());
        seen->appLockHeldInCompletion = held;
        seen->loadingInCompletion = loading;
        seen->changed.notify_all();
    });
    s.request->Progress().Add([seen](HttpRequest*, double fraction) {
        std::unique_lock<std::mutex> lock(seen->lock);
        bool first = seen->progress.empty();
        seen->progress.push_back(fraction);
        lock.unlock();
        if (first) {
            bool held = AppLockHeldElsewhere();
            lock.lock();
            seen->appLockHeldInProgress = held;
        }
        seen->changed.notify_all();
    });
    return s;
}

bool WaitDone(const Started& started) {
    std::unique_lock<std::mutex> lock(started.seen->lock);
    return started.seen->changed.wait_for(lock, kGuard,
                                          [&] { return started.seen->completions > 0; });
}

bool WaitProgress(const Started& started, size_t count) {
    std::unique_lock<std::mutex> lock(started.seen->lock);
    return started.seen->changed.wait_for(lock, kGuard,
                                          [&] { return started.seen->progress.size() >= count; });
}

}  // namespace zentri::test

namespace zentri::test {

bool WaitProgressReaches(const Started& started, double fraction) {
    std::unique_lock<std::mutex> lock(started.seen->lock);
    return started.seen->changed.wait_for(lock, kGuard, [&] {
        return !started.seen->progress.empty() && started.seen->progress.back() >= fraction;
    });
}

}  // namespace zentri::test
