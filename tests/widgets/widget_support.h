#pragma once
// Shared by the widget tests: a UI server whose frames the test steps, a screen to put widgets
// on, small images made in code and a rendering of the tree into a surface.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// The smallest rectangle of pixels that differ from white; empty when there are none.
inline Rect InkBox(const Surface& s) {
    int x0 = s.width, y0 = s.height, x1 = -1, y1 = -1;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.Pixel(x, y) != 0xFFFF) {
                x0 = std::min(x0, x), y0 = std::min(y0, y);
                x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
    return x1 < 0 ? Rect{} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace zentri::test
