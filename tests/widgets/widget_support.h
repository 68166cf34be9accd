#pragma once
// Shared by the widget tests: a UI server whose frames the test steps, a screen to put widgets
// on, small images made in code and a rendering of the tree into a surface.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/ui/ink_box.h"
#include "ui/gobject.h"
#include "ui/platform/wm_surface.h"
#include "ui/touch.h"
#include "ui/ui_server.h"

namespace zentri::test {

// Timer and paint do nothing: the test calls Frame() for every 40 ms tick.
class FrameServer : public UIServer {
  public:
    void Frame() { Tick(true, false); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            Frame();
    }
};

// A 240 x 160 screen with a plain root; widgets are added to the root.
class Screen : public ::testing::Test {
  protected:
    Screen() {
        server.Resize(240, 160);
        server.SetRoot(root);
    }
    ~Screen() override { server.SetRoot(nullptr); }

    template <class T>
    shared_ptr<T> Add(const Rect& r) {
        shared_ptr<T> node(new T);
        node->SetRect(r);
        root->AddChild(node);
        return node;
    }
    // The whole tree drawn on white, as a repaint does.
    shared_ptr<WMSurface> Render() {
        shared_ptr<WMSurface> s(new WMSurface);
        s->Create(240, 160, false);
        root->DrawTree(*s);
        return s;
    }
    // value() now and after each of n frames.
    template <class F>
    std::vector<int> Trace(int n, F value) {
        std::vector<int> seen{value()};
        for (int i = 0; i < n; ++i) {
            server.Frame();
            seen.push_back(value());
        }
        return seen;
    }
    void Send(int type, int x, int y) { server.DispatchTouch(type, x, y); }
    void Tap(int x, int y) {
        Send(Touch::kDown, x, y);
        Send(Touch::kUp, x, y);
    }

    shared_ptr<FrameServer> server_{new FrameServer};
    FrameServer& server = *server_;
    GObjectPtr root{new GObject};
};

// An opaque w x h image of one colour, or with alpha when `alpha` is below 255.
inline shared_ptr<Surface> SolidImage(int w, int h, Color c, int alpha = 255) {
    shared_ptr<WMSurface> s(new WMSurface);
    s->Create(w, h, alpha < 255);
    std::fill(s->pixels.begin(), s->pixels.end(), To565(c));
    std::fill(s->alpha.begin(), s->alpha.end(), static_cast<uint8_t>(alpha));
    return s;
}

}  // namespace zentri::test
