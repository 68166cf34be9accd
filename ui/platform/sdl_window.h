#pragma once
// The window on SDL2: a window of the handset's screen size showing the program's area above
// the soft-key bar. The screen image is presented through a streaming RGB565 texture of which
// only the changed rectangle is updated. A timer thread posts a user event per frame; the mouse
// gives touches (double clicks included), text input gives characters, and the keys of the key
// table give virtual keys; F1/F2 and clicks on the bar are the soft keys.

#include <SDL2/SDL.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "ui/platform/frame_timer.h"
#include "ui/platform/platform_window.h"

namespace zentri {

class SdlWindow : public PlatformWindow {
  public:
    SdlWindow() = default;
    ~SdlWindow() override;

    bool StartTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    void BringToFront() override;
    void SetMouseCapture(bool on) override;
    bool IsHeadless() const override { return false; }

  protected:
    bool OpenNative(const std::string& title, int w, int h) override;
    void ShowErrorNative(const std::string& title, const std::string& text) override;
    void ShowNative() override;
    void CloseNative() override;
    void UploadScreen(const Rect& area) override;
    void WaitForEvents() override;
    void Wake() override;
    uint64_t NowMs() override { return SDL_GetTicks64(); }

  private:
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void PushUserEvent(uint32_t type);
    void PostSimple(WindowMessageType type, bool flag = false);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    uint32_t timerEvent_ = 0;
    uint32_t wakeEvent_ = 0;
    std::mutex eventsMutex_;  // SDL's queue is usable only between open and close
    bool eventsReady_ = false;
    std::atomic<bool> tickPending_{false};
    std::atomic<int> timerId_{0};
    std::unique_ptr<FrameTimer> timer_;
    bool sdlInitialized_ = false;
};

}  // namespace zentri
