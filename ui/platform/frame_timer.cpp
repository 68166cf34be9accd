#include "ui/platform/frame_timer.h"

#include <chrono>

namespace zentri {

FrameTimer::FrameTimer(std::function<void()> tick) : tick_(std::move(tick)) {
    thread_ = std::thread([this] { Loop(); });
}

FrameTimer::~FrameTimer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

void FrameTimer::Start(int periodMs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = true;
        periodMs_ = periodMs > 0 ? periodMs : 1;
        ++generation_;
    }
    cv_.notify_all();
}

void FrameTimer::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
        ++generation_;
    }
    cv_.notify_all();
}

bool FrameTimer::Running() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

void FrameTimer::Loop() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        if (!running_) {
            cv_.wait(lock);
            continue;
        }
        uint64_t generation = generation_;
        auto period = std::chrono::milliseconds(periodMs_);
        auto next = Clock::now() + period;
        while (!quit_ && running_ && generation == generation_) {
            cv_.wait_until(lock, next);
            if (quit_ || !running_ || generation != generation_) break;
            auto now = Clock::now();
            if (now < next) continue;  // woken early
            lock.unlock();
            tick_();
            lock.lock();
            next += period;
            if (next < now) next = now + period;  // a long stall skips frames, as a timer does
        }
    }
}

}  // namespace zentri
