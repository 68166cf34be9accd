#pragma once
// A thread that calls a function once per period while it runs: the window's frame timer.
// Start and Stop may be called from any thread; the destructor stops and joins the thread.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace zentri {

class FrameTimer {
  public:
    explicit FrameTimer(std::function<void()> tick);
    ~FrameTimer();
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // (Re)starts the period from now.
    void Start(int periodMs);
    void Stop();
    bool Running();

  private:
    void Loop();

    std::function<void()> tick_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool running_ = false;
    bool quit_ = false;
    int periodMs_ = 40;
    uint64_t generation_ = 0;  // changes at every Start and Stop
    std::thread thread_;
};

}  // namespace zentri
