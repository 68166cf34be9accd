// The layouts' update rules and the layouts that place every child alike.

#include <gtest/gtest.h>

#include "ui/gobject.h"
#include "ui/touch.h"
#include "ui/ui_server.h"
#include "widgets/horizont_radio_layout.h"
#include "widgets/single_layout.h"

namespace zentri {
namespace {

class CountingLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override {
        ++runs;
        lastReason = reason;
        // A change made while arranging must not arrange again.
        GObjectPtr first = owner->ChildAt(0);
        first->SetSize(owner->Width() / 2, 10);
        owner->SetSize(owner->Width(), owner->Height() + 1);
    }
    int runs = 0;
    int lastReason = -1;
};

TEST(Layout, RunsOnlyForAnOwnerWithAreaAndChildrenAndNeverReenters) {
    GObjectPtr owner = MakeShared<GObject>();
    shared_ptr<CountingLayout> layout = MakeShared<CountingLayout>();
    owner->SetLayout(layout);
    owner->AddChild(MakeShared<GObject>());
    owner->SetSize(100, 0);
    EXPECT_EQ(layout->runs, 0);  // no height yet

    owner->SetSize(100, 50);
    EXPECT_EQ(layout->runs, 1);
    EXPECT_EQ(layout->lastReason, Layout::kOwnerResized);
    EXPECT_EQ(owner->Height(), 51);  // its own change did not arrange again

    GObjectPtr empty = MakeShared<GObject>();
    shared_ptr<CountingLayout> idle = MakeShared<CountingLayout>();
    empty->SetSize(10, 10);
    empty->SetLayout(idle);
    EXPECT_EQ(idle->runs, 0);  // no children
}

TEST(Layout, SuspendedChangesArrangeOnceOnResume) {
    GObjectPtr owner = MakeShared<GObject>();
    owner->SetSize(100, 50);
    shared_ptr<CountingLayout> layout = MakeShared<CountingLayout>();
    owner->SetLayout(layout);
    layout->Suspend();
    for (int i = 0; i < 5; ++i)
        owner->AddChild(MakeShared<GObject>());
    owner->SetSize(200, 60);
    EXPECT_EQ(layout->runs, 0);
    layout->Resume();
    EXPECT_EQ(layout->runs, 1);
    EXPECT_EQ(layout->lastReason, Layout::kLayoutSet);
}

TEST(HorizontRadioLayout, SharesTheWidthAndLeavesTheRemainderAtTheRight) {
    GObjectPtr owner = MakeShared<GObject>();
    owner->SetLayout(MakeShared<HorizontRadioLayout>());
    GObjectPtr a = MakeShared<GObject>(), b = MakeShared<GObject>(), c = MakeShared<GObject>();
    owner->AddChild(a);
    owner->AddChild(b);
    owner->AddChild(c);
    owner->SetSize(100, 30);
    EXPECT_EQ(a->Bounds(), (Rect{0, 0, 33, 30}));
    EXPECT_EQ(b->Bounds(), (Rect{33, 0, 33, 30}));
    EXPECT_EQ(c->Bounds(), (Rect{66, 0, 33, 30}));
}

TEST(SingleLayout, AlignsOrFillsEveryChildButTheDraggedOne) {
    GObjectPtr owner = MakeShared<GObject>();
    GObjectPtr child = MakeShared<GObject>();
    child->SetSize(20, 10);
    owner->AddChild(child);
    owner->SetLayout(
        MakeShared<SingleLayout>(SingleLayout::kCentre, SingleLayout::kEnd, false, 5, 6, 7, 8));
    owner->SetSize(100, 50);
    // Box (5, 6, 88, 36): centred across, at the bottom; the size is kept.
    EXPECT_EQ(child->Bounds(), (Rect{5 + (88 - 20) / 2, 6 + 36 - 10, 20, 10}));

    owner->SetLayout(
        MakeShared<SingleLayout>(SingleLayout::kStart, SingleLayout::kStart, true, 5, 6, 7, 8));
    EXPECT_EQ(child->Bounds(), (Rect{5, 6, 88, 36}));

    // A child held by the finger stays where the drag puts it when the owner re-arranges.
    UIServer server;
    server.Resize(100, 50);
    server.SetRoot(owner);
    owner->SetLayout(MakeShared<SingleLayout>(SingleLayout::kCentre, SingleLayout::kCentre, false));
    GObjectPtr dragged = MakeShared<GObject>();
    dragged->SetSize(10, 10);
    dragged->SetDraggable(true);
    dragged->OnTouch().Add([](GObjectPtr&, const Touch&) {});
    owner->AddChild(dragged);
    ASSERT_EQ(dragged->Bounds(), (Rect{45, 20, 10, 10}));
    server.DispatchTouch(Touch::kDown, 50, 25);
    server.DispatchTouch(Touch::kMove, 70, 40);
    ASSERT_TRUE(dragged->IsDragging());
    owner->SetSize(120, 60);
    EXPECT_EQ(dragged->Bounds(), (Rect{65, 35, 10, 10}));
    EXPECT_EQ(child->Bounds(), (Rect{16, 12, 88, 36}));  // re-centred, the size kept
}

}  // namespace
}  // namespace zentri
