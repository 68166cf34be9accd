#pragma once
// The messages of the program's one window, as the window backend delivers them to the
// application's window procedure.

#include <string>

#include "ui/rect.h"

namespace zentri {

enum class WindowMessageType {
    kCreate,  // rect: the window's area; text: its name
    kDestroy,
    kMove,      // x, y
    kSize,      // w, h
    kActivate,  // flag: activated
    kSetFocus,
    kKillFocus,
    kPaint,  // rect: the area to paint
    kEraseBackground,
    kKeyDown,    // code: virtual key
    kChar,       // code: character (a UTF-16 unit)
    kCommand,    // code: command id
    kTimer,      // code: timer id
    kMouseMove,  // x, y
    kMouseDown,
    kMouseUp,
    kDoubleClick,
    kBringToFront,  // handled by the window itself (a second start of the program)
    kClose,         // handled by the window itself: it is destroyed
};

struct WindowMessage {
    WindowMessageType type = WindowMessageType::kCreate;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int code = 0;
    bool flag = false;
    Rect rect;
    std::u16string text;
};

class PlatformWindow;

// Receives every message of the window, on the UI thread.
class WindowProcedure {
  public:
    virtual ~WindowProcedure() = default;
    virtual void WindowProc(PlatformWindow& source, const WindowMessage& message) = 0;
};

}  // namespace zentri
