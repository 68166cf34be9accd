#include "ui/platform/headless_window.h"

#include <cstdio>

#include "ui/pending_work.h"

namespace zentri {

HeadlessWindow::HeadlessWindow() : clock_(std::make_shared<ManualCounter>(1000000u)) {}

HeadlessWindow::~HeadlessWindow() {
    CloseNative();
}

bool HeadlessWindow::OpenNative(const std::string& title, int w, int h) {
    (void)title, (void)w, (void)h;
    PerformanceFrequency::Instance().SetSource(clock_);
    clockInstalled_ = true;
    return true;
}

void HeadlessWindow::CloseNative() {
    if (!clockInstalled_) return;
    clockInstalled_ = false;
    PerformanceFrequency::Instance().SetSource(nullptr);
}

bool HeadlessWindow::StartTimer(int id, int periodMs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        timerOn_ = true;
        timerId_ = id;
        timerPeriodMs_ = periodMs > 0 ? periodMs : 1;
        timerNextMs_ = nowMs_ + static_cast<uint64_t>(timerPeriodMs_);
        timerActive_ = true;
    }
    Wake();
    return true;
}

void HeadlessWindow::KillTimer(int id) {
    (void)id;
    std::lock_guard<std::mutex> lock(mutex_);
    timerOn_ = false;
    timerActive_ = false;
}

void HeadlessWindow::ShowErrorNative(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void HeadlessWindow::BringToFront() {}

uint64_t HeadlessWindow::NowMs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return nowMs_;
}

void HeadlessWindow::AdvanceToLocked(uint64_t ms) {
    if (ms <= nowMs_) return;
    nowMs_ = ms;
    clock_->Set(ms * 1000u);
}

void HeadlessWindow::FireTimerLocked() {
    AdvanceToLocked(timerNextMs_);
    timerNextMs_ += static_cast<uint64_t>(timerPeriodMs_);
    WindowMessage tick;
    tick.type = WindowMessageType::kTimer;
    tick.code = timerId_;
    QueueLocked(tick);
}

// Waits up to `ms` of real time for a posted message; true when one came (or the quit).
bool HeadlessWindow::WaitRealLocked(std::unique_lock<std::mutex>& lock, int ms) {
    return cv_.wait_for(lock, std::chrono::milliseconds(ms),
                        [this] { return !QueueEmptyLocked() || QuitLocked(); });
}

void HeadlessWindow::WaitForEvents() {
    // Probes take their modules' locks: ask them before taking the window's lock, which
    // threads posting messages need.
    bool idling = ConditionalWait();
    bool waitOver = idling && ConditionalWaitOver();
    bool workPending = idling && !waitOver && AnyWorkPending();
    std::unique_lock<std::mutex> lock(mutex_);
    if (!QueueEmptyLocked() || QuitLocked()) return;
    if (scriptWait_ == ScriptWait::kUntil) {
        if (timerOn_ && timerNextMs_ <= scriptUntilMs_) {
            FireTimerLocked();
        } else {
            AdvanceToLocked(scriptUntilMs_);
            scriptWait_ = ScriptWait::kNone;
        }
        return;
    }
    if (idling) {
        if (waitOver) return;
        // While background work runs, frames keep pace with real time so that the work can
        // make progress; otherwise they follow each other at once.
        if (!timerOn_ && !workPending) {
            // Nothing left that could change anything: the screen is settled. A text may still
            // come with a message from another thread, until the limit.
            if (scriptWait_ == ScriptWait::kIdle)
                scriptWait_ = ScriptWait::kNone;
            else
                WaitRealLocked(lock, timerPeriodMs_);
            return;
        }
        if (workPending && WaitRealLocked(lock, timerPeriodMs_)) return;
        if (timerOn_) FireTimerLocked();
        return;
    }
    if (timerOn_) {
        if (!WaitRealLocked(lock, timerPeriodMs_)) FireTimerLocked();
        return;
    }
    cv_.wait(lock, [this] { return !QueueEmptyLocked() || QuitLocked() || timerOn_; });
}

}  // namespace zentri
