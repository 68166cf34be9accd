#pragma once
// Owns the program's one top-level window and its message loop. Init creates the window (a
// second start only brings the first instance's window to the front and fails); Run runs the
// loop. Every message is handled under appLock, so worker threads that take the same lock never
// run a callback while a message is being handled. An exception that escapes a handler is shown
// in a message box titled "Error" and the window is then closed.
//
// The application object lives on the heap and deletes itself when its window is destroyed.

#include <string>

#include "ui/app_lock.h"
#include "ui/menu_bar.h"
#include "ui/platform/window_message.h"
#include "ui/rect.h"

namespace zentri {

class PlatformWindow;

struct CreateInfo {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    std::u16string name;
};

class BaseApplication : public WindowProcedure {
  public:
    static constexpr const char16_t* kUserEventName = u"Lumora_User_Event";

    BaseApplication() = default;
    // Slot 0.
    ~BaseApplication() override;
    BaseApplication(const BaseApplication&) = delete;
    BaseApplication& operator=(const BaseApplication&) = delete;

    // False when another instance runs (it was brought to the front), when CanStart refuses,
    // or when no window can be made. An exception while the window is created is reported and
    // the window closed; Init then still returns true and Run ends at once.
    bool Init(const std::u16string& name, void* instance);
    // Runs the message loop until the window is gone; the exit code of the loop. Static because
    // the application object has deleted itself by the time the loop ends.
    static int Run();

    const std::u16string& ProgramFolder() const { return programFolder; }
    PlatformWindow* Window() const { return window; }
    int Width() const { return width; }
    int Height() const { return height; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    int BaseUnit() const { return baseUnit_; }
    MenuBar& GetMenuBar() { return menuBar; }
    AppLockType& appLock() { return AppLock(); }
    int UserEventMessage() const { return userEventMessage; }
    bool IsFullScreen() const { return fullScreen; }
    // Full screen hides the soft-key bar and gives the program the whole screen.
    void SetFullScreen(bool value);

    // Hooks in slot order.
    virtual bool CanStart() { return true; }
    virtual void Resized(int w, int h) { (void)w, (void)h; }
    virtual void MovedTo(int x, int y) { (void)x, (void)y; }
    virtual void OnCreate(const CreateInfo& info) { (void)info; }
    virtual void OnDestroy() {}
    virtual bool Created() { return true; }
    virtual void Closing() {}
    virtual void GotFocus() {}
    virtual void LostFocus() {}
    virtual void PaintArea(PlatformWindow& dc, const Rect& area) { (void)dc, (void)area; }
    virtual void MouseDown(int x, int y) { (void)x, (void)y; }
    virtual void MouseUp(int x, int y) { (void)x, (void)y; }
    virtual void MouseMove(int x, int y) { (void)x, (void)y; }
    virtual void DoubleClick(int x, int y) { (void)x, (void)y; }
    virtual void OnCommand(int virtualKey) { (void)virtualKey; }
    virtual void Char(int code) { (void)code; }
    virtual void Timer(int id) { (void)id; }
    virtual bool EraseBackground(PlatformWindow& dc, bool& handled) {
        (void)dc, (void)handled;
        return true;
    }
    virtual void Reserved() {}
    // The dispatcher; true when the message was handled.
    virtual bool HandleMessage(PlatformWindow& source, const WindowMessage& message);

    // The window procedure: HandleMessage, with exceptions reported and the window closed.
    void WindowProc(PlatformWindow& source, const WindowMessage& message) override;

  protected:
    MenuBar menuBar;
    int userEventMessage = 0;
    PlatformWindow* window = nullptr;
    void* instance = nullptr;
    int height = 0;
    int width = 0;
    int menuBarHeight = -1;
    std::u16string name;
    std::u16string className;
    std::u16string programFolder;
    bool hasFocus = false;
    bool active = false;  // between the end of Init and the destroy message
    bool showInputButton = true;
    bool fullScreen = false;

  private:
    void ResetFields(const std::u16string& appName, void* appInstance);
    bool CreateWindow(PlatformWindow& w);
    void Destroyed(PlatformWindow& source);

    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int baseUnit_ = 13;
    bool smartphone_ = false;
};

// Shows an exception's text in a message box titled "Error" (at most 100 characters).
void ReportError(PlatformWindow* window, const std::string& text);

}  // namespace zentri
