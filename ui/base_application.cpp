#include "ui/base_application.h"

#include <exception>
#include <memory>

#include "platform/device_info.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/input_manager.h"
#include "ui/performance_frequency.h"
#include "ui/platform/platform_window.h"
#include "ui/platform/single_instance.h"

namespace zentri {
namespace {

// The window and the single-instance claim of the running program. They live outside the
// application object, which deletes itself when its window is destroyed, before the loop ends.
struct Session {
    std::unique_ptr<PlatformWindow> window;
    // Declared after the window so that it goes first, also when the program ends without
    // ending the session: its listener posts to the window.
    std::unique_ptr<SingleInstance> instance;
};

Session& CurrentSession() {
    // The headless window hands the clock back at its end: the clock must outlive the session
    // even when the program leaves without running the loop.
    PerformanceFrequency::Instance();
    static Session session;
    return session;
}

void EndSession(Session& s) {
    s.instance.reset();  // joins the listener, which posts to the window
    s.window.reset();
}

}  // namespace

void ReportError(PlatformWindow* window, const std::string& text) {
    std::u16string wide = platform::Utf8ToUtf16(text);
    if (wide.size() > 100) {
        wide.resize(100);
        if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();  // half a pair
    }
    std::string shown = platform::Utf16ToUtf8(wide);
    if (window)
        window->ShowError("Error", shown);
    else
        std::fprintf(stderr, "Error: %s\n", shown.c_str());
}

BaseApplication::~BaseApplication() {
    InputManager::Instance().ForgetApplication(this);
}

void BaseApplication::ResetFields(const std::u16string& appName, void* appInstance) {
    name = className = appName;
    instance = appInstance;
    window = nullptr;
    width = height = 0;
    menuBarHeight = -1;
    hasFocus = active = fullScreen = false;
    userEventMessage = PlatformWindow::RegisterMessage(kUserEventName);
    programFolder = platform::Utf8ToUtf16(platform::ProgramFolder());
    platform::DeviceInfo device = platform::LoadDeviceInfo();
    screenWidth_ = device.CurrentWidth();
    screenHeight_ = device.CurrentHeight();
    baseUnit_ = device.SystemFontHeight();
    smartphone_ = device.platformType == "Smartphone";
    // The platform keyboard is laid along the bottom of this application's screen.
    InputManager::Instance().SetApplication(this);
}

bool BaseApplication::Init(const std::u16string& appName, void* appInstance) {
    Session& session = CurrentSession();
    EndSession(session);
    std::unique_ptr<SingleInstance> claim;
    if (SingleInstance::Claim(platform::Utf16ToUtf8(appName), claim) ==
        SingleInstance::Result::kAlreadyRunning)
        return false;  // the running instance comes to the front
    ResetFields(appName, appInstance);
    if (!CanStart()) return false;
    session.window = PlatformWindow::CreateForEnvironment();
    session.instance = std::move(claim);
    PlatformWindow* w = session.window.get();
    if (session.instance) {
        session.instance->SetActivationHandler([w] {
            WindowMessage front;
            front.type = WindowMessageType::kBringToFront;
            w->Post(front);
        });
    }
    // Workers that call back into the program wait until the window is fully set up.
    std::lock_guard<AppLockType> lock(AppLock());
    try {
        if (!CreateWindow(*w)) {
            EndSession(session);
            return false;
        }
    } catch (const std::exception& e) {
        ReportError(w, e.what());
        w->Destroy();
    } catch (...) {
        ReportError(w, "SEH exception");
        w->Destroy();
    }
    return true;
}

// Init's window steps. Once the window is destroyed (an exception in a handler closes it) the
// application object is gone, so every step checks the window first.
bool BaseApplication::CreateWindow(PlatformWindow& w) {
    if (!w.Open(name, screenWidth_, screenHeight_, baseUnit_, this)) return false;
    if (w.IsDestroyed()) return true;
    if (!smartphone_ && menuBar.Exists()) {
        menuBarHeight = menuBar.Height();
        w.SetProgramArea(width, height - menuBarHeight);
        if (w.IsDestroyed()) return true;
    }
    active = true;
    Created();
    if (w.IsDestroyed()) return true;
    w.Show();
    return true;
}

int BaseApplication::Run() {
    Session& session = CurrentSession();
    if (!session.window) return 0;
    int code = session.window->Run();
    EndSession(session);
    return code;
}

void BaseApplication::SetFullScreen(bool value) {
    if (!window) {
        fullScreen = value;
        return;
    }
    if (value) {
        if (window->AreaWidth() != screenWidth_ || window->AreaHeight() != screenHeight_)
            window->SetProgramArea(screenWidth_, screenHeight_);
        fullScreen = true;
        return;
    }
    menuBarHeight = menuBar.Height();
    window->SetProgramArea(screenWidth_, screenHeight_ - menuBarHeight);
    fullScreen = false;
}

void BaseApplication::WindowProc(PlatformWindow& source, const WindowMessage& message) {
    bool destroying = message.type == WindowMessageType::kDestroy;
    try {
        HandleMessage(source, message);
        return;
    } catch (const std::exception& e) {
        ReportError(&source, e.what());
    } catch (...) {
        ReportError(&source, "SEH exception");
    }
    if (destroying)
        source.PostQuit(0);  // the window is already going
    else
        source.Destroy();
}

void BaseApplication::Destroyed(PlatformWindow& source) {
    Closing();
    OnDestroy();
    active = false;
    delete this;
    source.PostQuit(0);
}

bool BaseApplication::HandleMessage(PlatformWindow& source, const WindowMessage& m) {
    std::lock_guard<AppLockType> lock(AppLock());
    switch (m.type) {
        case WindowMessageType::kCreate: {
            window = &source;
            menuBar.SetOwner(&source, instance);
            OnCreate(CreateInfo{m.rect.x, m.rect.y, m.w, m.h, m.text});
            width = m.w;
            height = m.h;
            return true;
        }
        case WindowMessageType::kDestroy:
            Destroyed(source);
            return true;
        case WindowMessageType::kMove:
            MovedTo(m.x, m.y);
            return true;
        case WindowMessageType::kSize:
            width = m.w;
            // A window narrower than the screen is reported slightly narrower still.
            if (width < screenWidth_) width -= screenWidth_ < 410 ? 1 : 2;
            height = m.h;
            Resized(width, height);
            return true;
        case WindowMessageType::kActivate:
            if (m.flag && fullScreen) SetFullScreen(true);
            return true;
        case WindowMessageType::kSetFocus:
            if (!hasFocus) {
                hasFocus = true;
                GotFocus();
            }
            return true;
        case WindowMessageType::kKillFocus:
            if (hasFocus) {
                hasFocus = false;
                LostFocus();
            }
            return true;
        case WindowMessageType::kPaint:
            PaintArea(source, m.rect);
            return true;
        case WindowMessageType::kEraseBackground: {
            bool handled = false;
            EraseBackground(source, handled);
            return true;
        }
        case WindowMessageType::kKeyDown:
            OnCommand(m.code);
            return true;
        case WindowMessageType::kChar:
            Char(m.code);
            return true;
        case WindowMessageType::kCommand:
            if (m.code != MenuBar::kLeftCommand && m.code != MenuBar::kRightCommand) return false;
            OnCommand(m.code);
            return true;
        case WindowMessageType::kTimer:
            Timer(m.code);
            return true;
        case WindowMessageType::kMouseMove:
            MouseMove(m.x, m.y);
            return true;
        case WindowMessageType::kMouseDown:
            MouseDown(m.x, m.y);
            return true;
        case WindowMessageType::kMouseUp:
            MouseUp(m.x, m.y);
            return true;
        case WindowMessageType::kDoubleClick:
            DoubleClick(m.x, m.y);
            return true;
        default:
            return false;
    }
}

}  // namespace zentri
