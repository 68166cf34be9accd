// Long lists in the object tree: children stacked in order are drawn and hit-tested without
// walking those off screen, positions are relative to the parent, and a node that captures the
// touch in the middle of a gesture takes the gesture over.

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/test_nodes.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {
namespace {

class CountingRow : public GObject {
  public:
    explicit CountingRow(int* draws) : draws(draws) {}
    void Draw(Surface&) override { ++*draws; }
    int* draws;
};

// Captures the touch once the finger moves, as a scroll view's content does.
class ListNode : public GObject {
  public:
    void TouchSeen(const Touch& touch) override {
        if (grabOnMove && touch.type == Touch::kMove) touch.capture = CountedRef<GObject>(this);
    }
    bool grabOnMove = false;
};

// A 200 x 200 screen with a list of `n` rows of 10 pixels, the list scrolled by `scroll`.
// Every tenth row takes no touches.
struct ListTree {
    explicit ListTree(int n, int scroll = 0) {
        server.Resize(200, 200);
        server.SetRoot(root);
        root->AddChild(list);
        list->SetRect(Rect{0, -scroll, 200, n * 10});
        for (int i = 0; i < n; ++i) {
            auto row = Make<CountingRow>(&draws);
            row->SetRect(Rect{0, i * 10, 200, 10});
            if (i % 10 == 0) {  // every tenth row is no touch target
                list->AddChild(row);
                continue;
            }
            row->OnTouch().Add([this, i](GObjectPtr&, const Touch& t) {
                log.push_back(std::to_string(i) + ":" + std::to_string(t.type));
            });
            list->AddChild(row);
        }
    }
    int Draw(const Rect& area) {
        draws = 0;
        WMSurface surface;
        surface.Create(200, 200, false);
        surface.PushClip(area);
        root->DrawTree(surface);
        return draws;
    }
    TestServer server;
    GObjectPtr root = Make<GObject>();
    shared_ptr<ListNode> list = Make<ListNode>();
    int draws = 0;
    Log log;
};

TEST(LongList, DrawsOnlyTheRowsThatMeetTheClip) {
    ListTree t(1000, 5000);                       // rows 500 and on at the top of the screen
    EXPECT_EQ(t.Draw(Rect{0, 0, 200, 200}), 22);  // 499..520, the outer two touching the edges
    EXPECT_EQ(t.Draw(Rect{0, 55, 200, 10}), 2);   // 505 and 506

    // Out of order, every row is looked at and still only the visible ones draw.
    GObjectPtr first = t.list->ChildAt(0);
    first->SetPosition(0, 5050);
    EXPECT_EQ(t.Draw(Rect{0, 55, 200, 10}), 3);
}

TEST(LongList, TouchesReachTheRowUnderTheFingerAndLeavingReleasesIt) {
    ListTree t(1000, 5000);
    t.server.DispatchTouch(Touch::kDown, 50, 35);
    EXPECT_EQ(t.log, (Log{"503:0"}));
    GObjectPtr pressed = t.list->ChildAt(503);
    EXPECT_TRUE(pressed->IsPressed());
    // On rows that take no touches, above the pressed one and below it: it lets go.
    t.server.DispatchTouch(Touch::kMove, 50, 1);
    EXPECT_FALSE(pressed->IsPressed());
    t.server.DispatchTouch(Touch::kDown, 50, 35);
    t.server.DispatchTouch(Touch::kMove, 50, 105);
    EXPECT_FALSE(pressed->IsPressed());
}

TEST(LongList, PositionsAreRelativeToTheParent) {
    ListTree t(100);
    GObjectPtr row = t.list->ChildAt(42);
    t.list->SetPosition(7, -300);
    EXPECT_EQ(row->AbsRect(), (Rect{7, 120, 200, 10}));
    EXPECT_EQ(row->Y(), 420);
}

TEST(LongList, ANodeThatCapturesMidGestureGetsTheClickAndLetsGo) {
    ListTree t(100);
    // The list captures once the finger has moved; the click after the up ends the capture.
    Log listLog;
    t.list->OnTouch().Add([&](GObjectPtr&, const Touch& touch) {
        listLog.push_back(std::to_string(touch.type));
        if (touch.type == Touch::kClick) touch.capture = nullptr;
    });
    t.list->grabOnMove = true;
    t.server.DispatchTouch(Touch::kDown, 50, 15);
    GObjectPtr row = t.list->ChildAt(1);
    EXPECT_TRUE(row->IsPressed());
    t.server.DispatchTouch(Touch::kMove, 50, 60);
    EXPECT_FALSE(row->IsPressed());  // the row under the finger lets go once the list takes over
    t.server.DispatchTouch(Touch::kMove, 50, 80);
    t.server.DispatchTouch(Touch::kUp, 50, 80);
    EXPECT_EQ(listLog, (Log{"2", "2", "1", "5"}));
    t.list->grabOnMove = false;
    EXPECT_FALSE(t.server.CurrentTouch().capture);

    // The next tap reaches the row under the finger.
    t.log.clear();
    t.server.DispatchTouch(Touch::kDown, 50, 95);
    t.server.DispatchTouch(Touch::kUp, 50, 95);
    EXPECT_EQ(t.log, (Log{"9:0", "9:1", "9:5"}));
    EXPECT_FALSE(t.list->ChildAt(9)->IsPressed());
}

}  // namespace
}  // namespace zentri::test
