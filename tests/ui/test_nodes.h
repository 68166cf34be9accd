#pragma once
// Nodes and a UI server for the engine's tests: a node that writes every hook and event it
// sees into a shared log, and a server that records paints and timer calls.

#include <string>
#include <vector>

#include "ui/gobject.h"
#include "ui/surface.h"
#include "ui/touch.h"
#include "ui/ui_server.h"

namespace zentri::test {

using Log = std::vector<std::string>;

class LogNode : public GObject {
  public:
    LogNode(std::string name, Log* log) : name(std::move(name)), log(log) {}

    // Subscribes to every event list with a handler that logs "<name>.on<Event>".
    void SubscribeAll();
    // Only the touch list: the node becomes a touch target.
    void SubscribeTouch();

    void Draw(Surface&) override { Add("Draw"); }
    void FocusableChanged(bool) override { Add("FocusableChanged"); }
    void TouchableChanged(bool) override { Add("TouchableChanged"); }
    void VisibleChanged(bool) override { Add("VisibleChanged"); }
    void Moved(int dx, int dy) override {
        Add("Moved(" + std::to_string(dx) + "," + std::to_string(dy) + ")");
    }
    void Resized(int dw, int dh) override {
        Add("Resized(" + std::to_string(dw) + "," + std::to_string(dh) + ")");
    }
    void ParentChanged(GObjectPtr&, GObjectPtr&) override { Add("ParentChanged"); }
    void ChildAdded(const GObjectPtr&) override { Add("ChildAdded"); }
    void ChildRemoved(const GObjectPtr&) override { Add("ChildRemoved"); }
    void FocusChanged(bool f) override { Add(f ? "Focused" : "Unfocused"); }
    void TouchSeen(const Touch& t) override { Add("Seen" + std::to_string(t.type)); }
    void KeyPressed(const Key&) override { Add("KeyPressed"); }
    void Pressed(const Touch&, bool) override { Add("Pressed"); }
    void Released(const Touch&) override { Add("Released"); }
    void DragStarted() override { Add("DragStarted"); }
    void DragEnded() override { Add("DragEnded"); }
    void DragCancelled() override { Add("DragCancelled"); }
    void DropEnter(const Touch&) override { Add("DropEnter"); }
    void DropOver(const Touch&) override { Add("DropOver"); }
    void DropLeave(const Touch&) override { Add("DropLeave"); }

    void Add(const std::string& what) {
        if (log) log->push_back(name + "." + what);
    }

    std::string name;
    Log* log;
    bool logSeen = false;
};

// Fills its whole area with one colour.
class FillNode : public GObject {
  public:
    explicit FillNode(Color color) : color(color) {}
    void Draw(Surface& s) override {
        s.FillRect(Margins().dx, Margins().dy, Width() + Margins().dw, Height() + Margins().dh,
                   color, 255);
    }
    Color color;
};

class TestServer : public UIServer {
  public:
    bool StartTimer() override {
        ++starts;
        return true;
    }
    void StopTimer() override { ++stops; }
    bool Paint(const Rect& area) override {
        paints.push_back(area);
        return true;
    }
    int starts = 0;
    int stops = 0;
    std::vector<Rect> paints;
    using UIServer::dirty;
};

template <class T, class... A>
shared_ptr<T> Make(A&&... args) {
    return MakeShared<T>(std::forward<A>(args)...);
}

}  // namespace zentri::test
