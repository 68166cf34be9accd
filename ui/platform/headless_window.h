#pragma once
// The window without a display: the same loop on virtual time. Each frame of the timer is one
// step of 40 virtual milliseconds with no real waiting; the virtual clock also drives the
// performance counter, so kinetic scrolling is deterministic. Without a script the frames are
// paced in real time, since nothing else would ever happen between them.

#include <condition_variable>
#include <memory>

#include "ui/performance_frequency.h"
#include "ui/platform/platform_window.h"

namespace zentri {

class HeadlessWindow : public PlatformWindow {
  public:
    HeadlessWindow();
    ~HeadlessWindow() override;

    bool StartTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    void BringToFront() override;
    bool IsHeadless() const override { return true; }

  protected:
    bool OpenNative(const std::string& title, int w, int h) override;
    void ShowErrorNative(const std::string& title, const std::string& text) override;
    void CloseNative() override;
    void UploadScreen(const Rect& area) override { (void)area; }
    void WaitForEvents() override;
    void Wake() override { cv_.notify_all(); }
    uint64_t NowMs() override;

  private:
    void AdvanceToLocked(uint64_t ms);
    // Moves virtual time to the next frame and queues the timer message.
    void FireTimerLocked();
    bool WaitRealLocked(std::unique_lock<std::mutex>& lock, int ms);
    void WaitForScript(std::unique_lock<std::mutex>& lock, bool workPending);

    std::condition_variable cv_;
    std::shared_ptr<ManualCounter> clock_;
    uint64_t nowMs_ = 0;
    bool timerOn_ = false;
    int timerId_ = 0;
    int timerPeriodMs_ = 40;
    uint64_t timerNextMs_ = 0;
    bool clockInstalled_ = false;
};

}  // namespace zentri
