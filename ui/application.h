#pragma once
// The bridge from window messages to the UI server: sizes, paints, touches, keys and the
// frame timer. A concrete application overrides OnStart to build its tree once the window and
// the server exist.

#include "ui/base_application.h"
#include "ui/platform/windows_mobile_ui_server.h"

namespace zentri {

class Application : public BaseApplication {
  public:
    Application() = default;
    ~Application() override;

    void Resized(int w, int h) override;
    bool Created() override;
    void Closing() override;
    void GotFocus() override;
    void LostFocus() override;
    void PaintArea(PlatformWindow& dc, const Rect& area) override;
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;
    void DoubleClick(int x, int y) override;
    // Keys of the key table; the soft keys (112, 113) clear the focus first.
    void OnCommand(int virtualKey) override;
    void Char(int code) override;
    void Timer(int id) override;
    bool EraseBackground(PlatformWindow& dc, bool& handled) override;
    // Slot 21: once, after the window and the UI server exist.
    virtual bool OnStart() { return true; }

    WindowsMobileUIServer& Server() { return server; }

  protected:
    WindowsMobileUIServer server;
};

}  // namespace zentri
