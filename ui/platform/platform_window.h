#pragma once
// The program's one window and its message loop, behind one narrow interface. Two backends
// implement it: an SDL2 window playing the handset's screen, and a headless window that runs the
// same loop on virtual time for tests and automation. The window shows the program's area above
// a soft-key bar that it draws itself; it keeps an image of the whole screen, which the SDL
// backend presents through an RGB565 texture and the automation saves with `shot`.
//
// Messages are delivered to the window procedure on the UI thread (the one running Run). A
// paint message comes, as on the handset, only when no other message is waiting.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/automation_tree.h"
#include "ui/platform/automation_script.h"
#include "ui/platform/soft_key_bar.h"
#include "ui/platform/window_message.h"
#include "ui/platform/wm_surface.h"
#include "ui/rect.h"

namespace zentri {

class PlatformWindow {
  public:
    // The longest an `idle` without a limit waits, in real time.
    static constexpr int kDefaultIdleLimitMs = 60000;

    // Headless when ZENTRI_HEADLESS=1, else SDL2; ZENTRI_SCRIPT names an automation script.
    static std::unique_ptr<PlatformWindow> CreateForEnvironment();
    // The id of a registered window message name (the same name gives the same id).
    static int RegisterMessage(const std::u16string& name);

    virtual ~PlatformWindow();

    // ---- UI thread ----
    // Creates the window for a screen of w x h pixels with the given base unit and sends the
    // create message (the window's area is the whole screen until the bar is created).
    bool Open(const std::u16string& name, int screenW, int screenH, int baseUnit,
              WindowProcedure* procedure);
    // Resizes the program's area (below it the bar, when shown) and sends the size message.
    void SetProgramArea(int w, int h);
    // Shows the window: activation, focus, and a paint of the whole area (erased first).
    void Show();
    // Sends the destroy message; afterwards no message reaches the procedure. The application
    // deletes itself on that message, so a handler that wants the window gone uses PostClose.
    void Destroy();
    bool IsDestroyed() const { return destroyed_; }
    // Runs the loop until the quit message; returns its exit code (a failed script: 2).
    int Run();
    // Asks for a paint message for the area (coalesced with earlier requests).
    void InvalidateRect(const Rect& area);
    // Copies the area of the program's surface to the screen.
    void Present(const Surface& surface, const Rect& area);
    // The soft-key bar: created by the menu bar, drawn by the window.
    bool CreateBar();
    void DestroyBar();
    bool HasBar() const { return hasBar_; }
    bool BarShown() const { return hasBar_ && areaHeight_ < screenHeight_; }
    int BarHeight() const { return SoftKeyBarHeight(baseUnit_); }
    SoftKeyBar& Bar() { return bar_; }
    void BarChanged();
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    int AreaWidth() const { return areaWidth_; }
    int AreaHeight() const { return areaHeight_; }
    // The whole screen as shown: the program's area and the bar.
    const Surface& ScreenImage() const { return screen_; }
    // Tells the automation whether the program is still busy with a finite animation or a
    // pending repaint (called on the UI thread without the window's lock).
    void SetActivityProbe(std::function<bool()> probe) { activityProbe_ = std::move(probe); }
    // Gives the automation the visible nodes of the program's tree (UI thread, without the
    // window's lock).
    void SetTreeProbe(std::function<std::vector<AutomationNode>()> probe) {
        treeProbe_ = std::move(probe);
    }
    // Paints what the program has pending; with `fixedPhase` the whole screen, endless
    // animations drawn at their fixed phase, so that shots of a script repeat exactly.
    void SetShotPainter(std::function<void(bool fixedPhase)> painter) {
        shotPainter_ = std::move(painter);
    }
    // Takes the commands of an automation script, or the error that makes the run fail.
    void SetScript(std::vector<ScriptCommand> commands);
    void SetScriptError(const std::string& error) { scriptError_ = error; }

    // ---- any thread ----
    void Post(const WindowMessage& message);
    void PostQuit(int exitCode);
    // Destroys the window once the current message has been handled.
    void PostClose();
    virtual bool StartTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;
    bool TimerActive() const { return timerActive_.load(); }

    // ---- platform services (UI thread) ----
    // Shows the error box; in a scripted run it also ends the run as failed.
    void ShowError(const std::string& title, const std::string& text);
    virtual void BringToFront() = 0;
    virtual void SetMouseCapture(bool on) { (void)on; }
    virtual bool IsHeadless() const = 0;

  protected:
    enum class ScriptWait { kNone, kUntil, kIdle, kText };

    virtual bool OpenNative(const std::string& title, int w, int h) = 0;
    virtual void ShowErrorNative(const std::string& title, const std::string& text) = 0;
    virtual void ShowNative() {}
    virtual void CloseNative() {}
    // Shows the area of the screen image.
    virtual void UploadScreen(const Rect& area) = 0;
    // Blocks until a message may be waiting; turns native events and due timers into
    // messages, and ends a script's wait when its condition holds.
    virtual void WaitForEvents() = 0;
    // Any thread: makes WaitForEvents return soon.
    virtual void Wake() = 0;
    virtual uint64_t NowMs() = 0;

    // Input as the user gives it, in window pixels.
    void PointerDown(int x, int y, int clicks);
    void PointerMove(int x, int y);
    void PointerUp(int x, int y);
    void KeyInput(int virtualKey);
    void TextInput(const std::u16string& text);
    // A soft key through the bar: nothing when there is no bar or the key is disabled.
    void SoftKey(bool left);

    // Whether an `idle` may end: nothing pending, no finite animation, no repaint.
    bool Settled();
    bool ConditionalWait() const {
        return scriptWait_ == ScriptWait::kIdle || scriptWait_ == ScriptWait::kText;
    }
    // For `idle` and `wait-text`: true (and the wait over) when the condition holds or the
    // limit has passed; a passed limit fails the script at its next step.
    bool ConditionalWaitOver();
    bool Scripted() const { return scripted_; }
    bool QueueEmptyLocked() const { return queue_.empty(); }
    bool QuitLocked() const { return quit_; }
    void QueueLocked(const WindowMessage& message) { queue_.push_back(message); }

    std::mutex mutex_;  // the queue, the quit state and the backends' timer state
    std::atomic<bool> timerActive_{false};
    ScriptWait scriptWait_ = ScriptWait::kNone;
    uint64_t scriptUntilMs_ = 0;
    std::chrono::steady_clock::time_point idleDeadline_;

  private:
    void Send(const WindowMessage& message);
    bool DeliverQueued();
    bool DeliverPaint();
    bool ScriptReady() const;
    void RunScriptCommand();
    void FailScript(int line, const std::string& message);
    void SaveShot(const ScriptCommand& command);
    std::vector<AutomationNode> VisibleNodes();
    // The topmost visible node that draws text matching the pattern, or null.
    const AutomationNode* FindText(const std::vector<AutomationNode>& nodes,
                                   const std::string& pattern) const;
    void TapCentre(const Rect& r);
    void RunTextCommand(const ScriptCommand& command);
    void TapEdit(const ScriptCommand& command);
    void Dump(const ScriptCommand& command);
    bool InBar(int y) const { return BarShown() && y >= areaHeight_; }
    bool BarClickLeft(int x) const { return x < screenWidth_ / 2; }
    void DrawBar();

    WindowProcedure* procedure_ = nullptr;
    bool destroyed_ = false;
    std::deque<WindowMessage> queue_;
    bool quit_ = false;
    int exitCode_ = 0;
    int failCode_ = 0;
    Rect invalid_;
    bool eraseNeeded_ = false;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int areaWidth_ = 0;
    int areaHeight_ = 0;
    int baseUnit_ = 13;
    WMSurface screen_;
    bool hasBar_ = false;
    SoftKeyBar bar_;
    bool pointerDown_ = false;
    int barPress_ = -1;  // the bar half pressed: 0 left, 1 right
    std::function<bool()> activityProbe_;
    std::function<std::vector<AutomationNode>()> treeProbe_;
    std::function<void(bool)> shotPainter_;
    size_t waitingCommand_ = 0;  // the `idle` or `wait-text` being waited for
    bool waitTimedOut_ = false;
    std::vector<ScriptCommand> script_;
    size_t scriptNext_ = 0;
    bool scripted_ = false;
    std::string scriptError_;
};

}  // namespace zentri
