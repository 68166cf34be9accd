#include "ui/application.h"

#include "ui/automation_tree.h"
#include "ui/key_table.h"
#include "ui/platform/platform_window.h"
#include "ui/touch.h"

namespace zentri {

Application::~Application() = default;

void Application::Resized(int w, int h) {
    server.WindowChanging();
    server.SetWindow(window);
    server.Resize(w, h);
    if (GObjectPtr root = server.Root()) root->SetSize(w, h);
}

bool Application::Created() {
    server.SetWindow(window);
    server.Resize(width, height);
    // The automation's `idle` asks whether the screen still changes.
    if (window) {
        window->SetActivityProbe([this] {
            std::lock_guard<AppLockType> lock(AppLock());
            return server.Busy();
        });
        window->SetTreeProbe([this] {
            std::lock_guard<AppLockType> lock(AppLock());
            GObjectPtr root = server.Root();
            return root ? VisibleNodes(*root, Rect{0, 0, width, height})
                        : std::vector<AutomationNode>{};
        });
        window->SetShotPainter([this](bool fixedPhase) {
            std::lock_guard<AppLockType> lock(AppLock());
            SetFixedPhaseDrawing(fixedPhase);
            // The whole screen at the fixed phase for the shot; afterwards the live phase again.
            server.Invalidate();
            if (fixedPhase) server.Tick(false, true);
        });
    }
    return OnStart();
}

void Application::Closing() {
    server.WindowChanging();
}

void Application::GotFocus() {
    if (!active) return;
    server.FocusGained();
    server.SetPaintSuspended(false);
}

void Application::LostFocus() {
    if (!active) return;
    server.FocusLost();
    server.SetPaintSuspended(true);
}

void Application::PaintArea(PlatformWindow& dc, const Rect& area) {
    (void)dc;
    server.Invalidate(area);
    server.Tick(false, true);
}

void Application::MouseDown(int x, int y) {
    if (window) window->SetMouseCapture(true);
    server.DispatchTouch(Touch::kDown, x, y);
}

void Application::MouseUp(int x, int y) {
    if (window) window->SetMouseCapture(false);
    server.DispatchTouch(Touch::kUp, x, y);
}

void Application::MouseMove(int x, int y) {
    server.DispatchTouch(Touch::kMove, x, y);
}

void Application::DoubleClick(int x, int y) {
    server.DispatchTouch(Touch::kDoubleClick, x, y);
}

void Application::OnCommand(int virtualKey) {
    int code = KeyCodeForVirtualKey(virtualKey);
    if (code < 0) return;
    // A soft key takes the focus away first, so an edit box gives up its keyboard.
    if (virtualKey == kVkF1 || virtualKey == kVkF2) server.SetFocus(nullptr);
    server.DispatchKey(code, 0);
}

void Application::Char(int code) {
    server.DispatchKey(Key::kCharacter, code);
}

void Application::Timer(int id) {
    if (id != WindowsMobileUIServer::kTimerId) return;
    server.Tick(true, false);
    if (window && !server.Dirty().IsEmpty()) window->InvalidateRect(server.Dirty());
}

bool Application::EraseBackground(PlatformWindow& dc, bool& handled) {
    (void)dc;
    shared_ptr<WMSurface> background(new WMSurface);
    background->Create(width, height, false);
    background->FillRect(0, 0, width, height, Color{0, 0, 0}, 255);
    server.SetBackground(background);
    handled = true;
    return true;
}

}  // namespace zentri
