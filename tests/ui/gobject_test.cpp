#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/ui/test_nodes.h"
#include "ui/layout.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {
namespace {

// A server with a 200 x 200 screen and a plain root, ready for nodes.
struct Tree {
    Tree() {
        server.Resize(200, 200);
        server.SetRoot(root);
        server.dirty = Rect{};
    }
    TestServer server;
    GObjectPtr root = Make<GObject>();
};

class RecordingLayout : public Layout {
  public:
    explicit RecordingLayout(Log* log) : log(log) {}
    void Arrange(GObject* owner, int reason) override {
        log->push_back("arrange" + std::to_string(reason));
        // A change made while arranging does not come back into the layout.
        if (resizeOwner) owner->SetSize(owner->Width(), owner->Height() + 1);
    }
    Log* log;
    bool resizeOwner = false;
};

TEST(GObject, UnchangedSettersFireNothingAndChangesFireHookThenEvent) {
    Log log;  // outlives the nodes
    Tree t;
    auto n = Make<LogNode>("n", &log);
    t.root->AddChild(n);
    n->SetRect(Rect{10, 10, 20, 20});
    n->SetFocusable(true);
    n->SubscribeAll();
    log.clear();
    t.server.dirty = Rect{};

    n->SetPosition(10, 10);
    n->MoveBy(0, 0);
    n->SetSize(20, 20);
    n->SetRect(Rect{10, 10, 20, 20});
    n->SetVisible(true);
    n->SetFocusable(true);
    n->SetTouchable(true);
    n->SetFocused(false);
    n->SetTransparency(255);
    n->SetDrawMargins(0, 0, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(t.server.Dirty().IsEmpty());

    n->SetPosition(15, 10);
    n->SetSize(30, 25);
    // The old area and the new one were both repainted.
    EXPECT_EQ(t.server.Dirty(), (Rect{10, 10, 35, 25}));
    n->SetVisible(false);
    n->SetTouchable(false);
    n->SetFocused(true);
    EXPECT_EQ(log, (Log{"n.Moved(5,0)", "n.onMoved", "n.Resized(10,5)", "n.onResized",
                        "n.VisibleChanged", "n.onVisibleChanged", "n.TouchableChanged",
                        "n.onTouchableChanged", "n.Focused", "n.onFocusChanged"}));
    EXPECT_EQ(t.server.Focus(), n);
    EXPECT_FALSE(t.root->IsFocused());
}

TEST(GObject, TransparencyOutsideItsRangeIsIgnored) {
    auto parent = Make<GObject>();
    auto child = Make<GObject>();
    parent->AddChild(child);
    parent->SetTransparency(256, true);
    parent->SetTransparency(-1, true);
    EXPECT_EQ(parent->Transparency(), 255);
    parent->SetTransparency(0, false);
    EXPECT_EQ(parent->Transparency(), 0);
    EXPECT_EQ(child->Transparency(), 255);
    parent->SetTransparency(100, true);
    EXPECT_EQ(child->Transparency(), 100);
}

TEST(GObject, AddAndRemoveKeepTheOrderOfHooksEventsAndLayout) {
    Log log;
    auto parent = Make<LogNode>("p", &log);
    auto child = Make<LogNode>("c", &log);
    auto grandchild = Make<GObject>();
    parent->SetRect(Rect{10, 20, 100, 100});
    child->SetPosition(5, 5);
    grandchild->SetPosition(1, 2);
    child->AddChild(grandchild);
    parent->AddChild(Make<GObject>());  // so that one child is left to arrange after removal
    auto layout = MakeShared<RecordingLayout>(&log);
    parent->SetLayout(layout);  // no children yet: nothing to arrange
    parent->SubscribeAll();
    child->SubscribeAll();
    log.clear();

    parent->AddChild(child, 7);
    EXPECT_EQ(log, (Log{"c.ParentChanged", "c.onParentChanged", "p.ChildAdded", "p.onChildAdded",
                        "arrange1"}));
    EXPECT_EQ(child->Id(), 7);
    EXPECT_EQ(child->AbsRect().x, 15);
    EXPECT_EQ(grandchild->AbsRect().y, 27);

    log.clear();
    EXPECT_TRUE(parent->RemoveChild(child.get()));
    EXPECT_EQ(log, (Log{"arrange2", "p.ChildRemoved", "p.onChildRemoved"}));
    EXPECT_EQ(child->AbsRect().x, 5);
    EXPECT_EQ(grandchild->AbsRect().y, 7);
    EXPECT_EQ(child->Parent(), parent.get());  // a removed child keeps its parent pointer
    EXPECT_FALSE(parent->RemoveChild(child.get()));

    parent->AddChild(nullptr);
    EXPECT_EQ(parent->ChildCount(), 1u);
}

TEST(GObject, LookupByIdAndIndex) {
    auto parent = Make<GObject>();
    auto a = Make<GObject>(), b = Make<GObject>(), c = Make<GObject>();
    parent->AddChild(a, 3);
    parent->AddChild(b, 3);
    parent->AddChild(c, 4);
    GObjectPtr found;
    ASSERT_TRUE(parent->FindChild(3, found));
    EXPECT_EQ(found, a);
    EXPECT_FALSE(parent->FindChild(9, found));
    size_t index = 0;
    ASSERT_TRUE(parent->IndexOf(c.get(), index));
    EXPECT_EQ(index, 2u);
    EXPECT_THROW(parent->RemoveChildAt(3), std::out_of_range);
    EXPECT_THROW(parent->ChildAt(3), std::out_of_range);
    EXPECT_TRUE(parent->RemoveChildById(3));
    ASSERT_TRUE(parent->FirstChild(found));
    EXPECT_EQ(found, b);
    parent->RemoveChildAt(0);
    EXPECT_EQ(parent->ChildAt(0), c);
}

TEST(GObject, RemoveAllChildrenAndDestructionLeaveNoDanglingLinks) {
    Log log;
    auto parent = Make<LogNode>("p", &log);
    parent->SetPosition(30, 30);
    auto kept = Make<LogNode>("k", &log);
    parent->AddChild(kept);
    parent->SubscribeAll();
    kept->SubscribeAll();
    log.clear();
    parent->RemoveAllChildren();
    EXPECT_TRUE(log.empty());  // no hooks, events or layout
    EXPECT_EQ(kept->AbsRect().x, 0);

    parent->AddChild(kept);
    log.clear();
    parent = nullptr;
    EXPECT_EQ(log, (Log{"p.onDestroyed"}));
    EXPECT_EQ(kept->Parent(), nullptr);
}

// A handler of a node's end may use the node as what it is: the event comes before any part of
// it is destroyed, whoever subscribed.
TEST(GObject, DestroyedHandlersSeeTheWholeNode) {
    struct Row : GObject {
        std::string label = "row 7";
    };
    std::string seenBySelf, seenByOther;
    auto row = Make<Row>();
    Row* raw = row.get();
    row->OnDestroyed().Add([raw, &seenBySelf] { seenBySelf = raw->label; });
    row->OnDestroyed().Add([raw, &seenByOther] {
        GObject* node = raw;
        auto* whole = dynamic_cast<Row*>(node);  // a destructor of the base would make it null
        seenByOther = whole ? whole->label : "gone";
        GObjectPtr again = CountedRef(node);  // taken and dropped: no second end
    });
    row = nullptr;
    EXPECT_EQ(seenBySelf, "row 7");
    EXPECT_EQ(seenByOther, "row 7");
}

TEST(Layout, RunsOnlyForAnArrangeableOwnerAndNeverReenters) {
    Log log;
    auto owner = Make<GObject>();
    auto layout = MakeShared<RecordingLayout>(&log);
    layout->resizeOwner = true;
    owner->SetLayout(layout);
    owner->AddChild(Make<GObject>());  // owner has no size yet
    EXPECT_TRUE(log.empty());
    owner->SetSize(50, 40);
    EXPECT_EQ(log, (Log{"arrange0"}));  // the owner's own resize inside Arrange was ignored
    EXPECT_EQ(owner->Height(), 41);

    log.clear();
    layout->resizeOwner = false;
    layout->Suspend();
    owner->AddChild(Make<GObject>());
    owner->AddChild(Make<GObject>());
    owner->SetSize(60, 40);
    layout->Resume();
    EXPECT_EQ(log, (Log{"arrange3"}));

    owner->SetLayout(nullptr);
    EXPECT_EQ(layout->Owner(), nullptr);
}

TEST(GObject, InvalidationCoversTheRightArea) {
    Tree t;
    auto parent = Make<GObject>();
    parent->SetRect(Rect{10, 10, 50, 50});
    t.root->AddChild(parent);
    auto child = Make<GObject>();
    child->SetRect(Rect{40, 40, 30, 30});
    parent->AddChild(child);

    t.server.dirty = Rect{};
    child->Invalidate();
    EXPECT_EQ(t.server.Dirty(), (Rect{50, 50, 30, 30}));

    t.server.dirty = Rect{};
    child->SetClipToParent(true);
    child->Invalidate();
    EXPECT_EQ(t.server.Dirty(), (Rect{50, 50, 10, 10}));

    // With margins the enlarged area is repainted, and the children are visited.
    child->SetClipToParent(false);
    parent->SetDrawMargins(-2, -3, 4, 6);
    t.server.dirty = Rect{};
    parent->Invalidate();
    EXPECT_EQ(t.server.Dirty(), (Rect{8, 7, 72, 73}));

    // A node of 0 x 0 asks for an empty area.
    auto empty = Make<GObject>();
    empty->SetPosition(5, 5);
    t.root->AddChild(empty);
    t.server.dirty = Rect{};
    empty->Invalidate();
    EXPECT_TRUE(t.server.Dirty().IsEmpty());

    // Without a server nothing happens.
    auto loose = Make<GObject>();
    loose->SetSize(10, 10);
    loose->Invalidate();
}

// The pixel that opaque fills of the colours give over white, in that order.
uint16_t Filled(std::initializer_list<Color> colors) {
    WMSurface pixel;
    pixel.Create(1, 1, false);
    for (Color c : colors)
        pixel.FillRect(0, 0, 1, 1, c, 255);
    return pixel.Pixel(0, 0);
}

TEST(GObject, DrawsBackToFrontClippedToEachPaintArea) {
    WMSurface surface;
    surface.Create(40, 40, false);
    const Color red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    auto root = Make<GObject>();
    root->SetSize(40, 40);
    auto a = Make<FillNode>(red);
    a->SetRect(Rect{0, 0, 20, 20});
    auto inA = Make<FillNode>(green);
    inA->SetRect(Rect{15, 0, 10, 5});  // sticks out of a: cut at a's edge
    a->AddChild(inA);
    auto b = Make<FillNode>(blue);
    b->SetRect(Rect{10, 10, 20, 20});
    b->SetDrawMargins(-2, -2, 4, 4);  // b may paint 2 pixels around itself
    root->AddChild(a);
    root->AddChild(b);
    auto hidden = Make<FillNode>(green);
    hidden->SetRect(Rect{0, 30, 10, 10});
    hidden->SetVisible(false);
    root->AddChild(hidden);
    auto clear = Make<FillNode>(green);
    clear->SetRect(Rect{30, 0, 10, 10});
    clear->SetTransparency(0);
    root->AddChild(clear);

    root->DrawTree(surface);
    EXPECT_EQ(surface.Pixel(5, 5), Filled({red}));
    EXPECT_EQ(surface.Pixel(15, 15), Filled({red, blue}));  // b was added later: on top
    EXPECT_EQ(surface.Pixel(17, 2), Filled({red, green}));
    EXPECT_EQ(surface.Pixel(22, 2), 0xFFFF);
    EXPECT_EQ(surface.Pixel(8, 8), Filled({red, blue}));
    EXPECT_EQ(surface.Pixel(31, 31), Filled({blue}));
    EXPECT_EQ(surface.Pixel(32, 32), 0xFFFF);
    EXPECT_EQ(surface.Pixel(5, 35), 0xFFFF);
    EXPECT_EQ(surface.Pixel(35, 5), 0xFFFF);
    EXPECT_TRUE(surface.clipStack.empty());
    EXPECT_EQ(surface.originX, 0);

    // Outside the current clip nothing is drawn at all.
    Log log;
    auto far = Make<LogNode>("far", &log);
    far->SetRect(Rect{0, 0, 5, 5});
    log.clear();
    surface.PushClip(Rect{20, 20, 10, 10});
    far->DrawTree(surface);
    EXPECT_TRUE(log.empty());
}

TEST(GObject, TouchGoesToTheTopMostTargetWithATouchList) {
    Log log;  // outlives the nodes
    Tree t;
    auto below = Make<LogNode>("below", &log);
    auto above = Make<LogNode>("above", &log);
    below->SetRect(Rect{0, 0, 50, 50});
    above->SetRect(Rect{20, 20, 50, 50});
    t.root->AddChild(below);
    t.root->AddChild(above);
    below->SubscribeTouch();
    log.clear();

    // above has no onTouch list: it sees the touch but is no target.
    t.server.DispatchTouch(0, 30, 30);
    EXPECT_EQ(log, (Log{"above.Seen0", "below.Seen0", "below.onTouch0", "below.Pressed"}));
    t.server.DispatchTouch(1, 30, 30);

    above->SubscribeTouch();
    log.clear();
    t.server.DispatchTouch(0, 30, 30);
    EXPECT_EQ(log, (Log{"above.Seen0", "above.onTouch0", "above.Pressed"}));
}

TEST(GObject, DownAndUpOnOneNodeGiveAClickButNotOnAnother) {
    Log log;  // outlives the nodes
    Tree t;
    auto a = Make<LogNode>("a", &log);
    auto b = Make<LogNode>("b", &log);
    a->SetRect(Rect{0, 0, 50, 50});
    b->SetRect(Rect{100, 100, 50, 50});
    t.root->AddChild(a);
    t.root->AddChild(b);
    a->SubscribeTouch();
    b->SubscribeTouch();
    log.clear();

    t.server.DispatchTouch(0, 10, 10);
    t.server.DispatchTouch(1, 12, 10);
    EXPECT_EQ(log, (Log{"a.Seen0", "a.onTouch0", "a.Pressed", "a.Seen1", "a.onTouch1", "a.Released",
                        "a.Seen5", "a.onTouch5", "a.Pressed", "a.Released"}));
    EXPECT_FALSE(a->IsPressed());

    log.clear();
    t.server.DispatchTouch(0, 10, 10);
    t.server.DispatchTouch(1, 110, 110);
    EXPECT_EQ(log,
              (Log{"a.Seen0", "a.onTouch0", "a.Pressed", "b.Seen1", "a.Released", "b.onTouch1"}));

    // Leaving the node with the finger releases it.
    log.clear();
    t.server.DispatchTouch(0, 10, 10);
    t.server.DispatchTouch(2, 80, 80);
    EXPECT_EQ(log, (Log{"a.Seen0", "a.onTouch0", "a.Pressed", "a.Released"}));
}

TEST(GObject, ACapturedTouchGoesOnlyToTheCaptureNode) {
    Log log;  // outlives the nodes
    Tree t;
    auto a = Make<LogNode>("a", &log);
    auto b = Make<LogNode>("b", &log);
    a->SetRect(Rect{0, 0, 50, 50});
    b->SetRect(Rect{100, 100, 50, 50});
    a->SetFocusable(true);
    t.root->AddChild(a);
    t.root->AddChild(b);
    b->SubscribeTouch();
    a->OnTouch().Add([&](GObjectPtr& self, const Touch& touch) {
        log.push_back("a.onTouch" + std::to_string(touch.type));
        if (touch.type == Touch::kDown) touch.capture = self;
        if (touch.type == Touch::kClick) touch.capture = nullptr;
    });
    log.clear();

    t.server.DispatchTouch(0, 10, 10);
    EXPECT_TRUE(a->IsFocused());
    t.server.DispatchTouch(2, 120, 120);
    t.server.DispatchTouch(1, 120, 120);
    EXPECT_EQ(log, (Log{"a.Seen0", "a.Focused", "a.onTouch0", "a.Pressed", "a.Seen2", "a.onTouch2",
                        "a.Seen1", "a.onTouch1", "a.Seen5", "a.onTouch5", "a.Released"}));
    EXPECT_FALSE(t.server.CurrentTouch().capture);
}

TEST(GObject, DragMovesTheNodeToTheDropTarget) {
    Log log;  // outlives the nodes
    Tree t;
    auto source = Make<LogNode>("src", &log);
    auto target = Make<LogNode>("dst", &log);
    auto item = Make<LogNode>("item", &log);
    source->SetRect(Rect{0, 0, 100, 100});
    target->SetRect(Rect{100, 0, 100, 100});
    target->SetDropTarget(true);
    item->SetRect(Rect{10, 10, 20, 20});
    item->SetDraggable(true);
    t.root->AddChild(source);
    t.root->AddChild(target);
    source->AddChild(item, 42);
    item->SubscribeTouch();
    target->OnAcceptDrop().Add(
        [&](GObjectPtr&, const Touch& touch, bool&) { EXPECT_EQ(touch.dragged, item); });
    log.clear();

    t.server.DispatchTouch(0, 15, 15);
    EXPECT_EQ(item->Parent(), t.root.get());
    EXPECT_EQ(t.root->ChildAt(t.root->ChildCount() - 1), item);  // on top of everything
    EXPECT_EQ(source->ChildCount(), 0u);
    EXPECT_EQ(item->AbsRect().x, 10);
    EXPECT_EQ(log, (Log{"src.Seen0", "item.Seen0", "src.ChildRemoved", "item.ParentChanged",
                        "src.DropEnter", "item.DragStarted"}));

    log.clear();
    t.server.DispatchTouch(2, 150, 50);
    t.server.DispatchTouch(2, 160, 50);
    EXPECT_EQ(log, (Log{"src.DropLeave", "dst.DropEnter", "item.Moved(135,35)", "dst.DropOver",
                        "item.Moved(10,0)"}));

    log.clear();
    t.server.DispatchTouch(1, 160, 50);
    EXPECT_EQ(item->Parent(), target.get());
    EXPECT_EQ(item->Bounds(), (Rect{55, 45, 20, 20}));
    EXPECT_EQ(item->AbsRect().x, 155);
    EXPECT_EQ(item->Id(), 42);  // its id came back from the touch
    EXPECT_EQ(log, (Log{"item.ParentChanged", "dst.ChildAdded", "item.Moved(-100,0)",
                        "item.DragEnded", "dst.DropLeave"}));
    EXPECT_FALSE(item->IsDragging());
    EXPECT_TRUE(t.server.CurrentTouch().cancelled);
}

TEST(GObject, ADropRefusedByOnAcceptDropIsCancelled) {
    Log log;  // outlives the nodes
    Tree t;
    auto source = Make<LogNode>("src", &log);
    auto target = Make<LogNode>("dst", &log);
    auto item = Make<LogNode>("item", &log);
    source->SetRect(Rect{0, 0, 100, 100});
    target->SetRect(Rect{100, 0, 100, 100});
    target->SetDropTarget(true);
    item->SetRect(Rect{10, 10, 20, 20});
    item->SetDraggable(true);
    t.root->AddChild(source);
    t.root->AddChild(target);
    source->AddChild(item, 42);
    item->SubscribeTouch();
    target->OnAcceptDrop().Add([](GObjectPtr&, const Touch&, bool& accept) { accept = false; });

    t.server.DispatchTouch(0, 15, 15);
    t.server.DispatchTouch(2, 150, 50);
    log.clear();
    t.server.DispatchTouch(1, 150, 50);
    EXPECT_EQ(log, (Log{"item.DragCancelled", "item.DragEnded", "dst.DropLeave"}));
    size_t index = 0;
    EXPECT_FALSE(t.root->IndexOf(item.get(), index));
    EXPECT_FALSE(target->IndexOf(item.get(), index));
    EXPECT_EQ(item->Id(), 42);
}

TEST(GObject, KeysGoToTheFocusedNodeOrDownFromTheRoot) {
    Log log;  // outlives the nodes
    Tree t;
    auto panel = Make<LogNode>("panel", &log);
    auto edit = Make<LogNode>("edit", &log);
    auto other = Make<LogNode>("other", &log);
    t.root->SetFocusable(true);
    panel->SetFocusable(true);
    edit->SetFocusable(true);
    t.root->AddChild(panel);
    panel->AddChild(edit);
    panel->AddChild(other);  // on top, but not focusable
    edit->OnKey().Add(
        [&](GObjectPtr&, const Key& k) { log.push_back("edit.onKey" + std::to_string(k.code)); });
    log.clear();

    t.server.SetFocus(nullptr);
    t.server.DispatchKey(Key::kLeftSoft, 0);
    EXPECT_EQ(log, (Log{"panel.KeyPressed", "edit.KeyPressed", "edit.onKey5"}));

    log.clear();
    edit->SetFocused(true);
    log.clear();
    t.server.DispatchKey(Key::kCharacter, 'x');
    EXPECT_EQ(log, (Log{"edit.KeyPressed", "edit.onKey10"}));

    // A node that is not focusable stops the search.
    log.clear();
    t.server.SetFocus(nullptr);
    panel->SetFocusable(false);
    log.clear();
    t.server.DispatchKey(Key::kEnter, 0);
    EXPECT_TRUE(log.empty());
}

TEST(GObject, HandlersMayRemoveTheNodeThatFires) {
    Log log;  // outlives the nodes
    Tree t;
    auto lower = Make<LogNode>("lower", &log);
    auto upper = Make<LogNode>("upper", &log);
    lower->SetRect(Rect{0, 0, 50, 50});
    upper->SetRect(Rect{0, 0, 50, 50});
    t.root->AddChild(lower);
    t.root->AddChild(upper);
    upper->OnDestroyed().Add([&] { log.push_back("upper.onDestroyed"); });
    GObject* raw = upper.get();
    upper->OnTouch().Add([&, raw](GObjectPtr& self, const Touch&) {
        t.root->RemoveChild(raw);
        EXPECT_EQ(self.get(), raw);
        log.push_back("removed");
    });
    log.clear();
    upper = nullptr;  // the tree holds the only reference now
    t.server.DispatchTouch(0, 10, 10);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "upper.Seen0");
    EXPECT_EQ(log[1], "removed");
    EXPECT_EQ(t.root->ChildCount(), 1u);
    // The touch still refers to it; once it lets go the node goes, exactly once.
    t.server.DispatchTouch(1, 10, 10);
    t.server.DispatchTouch(0, 150, 150);
    EXPECT_EQ(log.back(), "upper.onDestroyed");
    EXPECT_EQ(std::count(log.begin(), log.end(), "upper.onDestroyed"), 1);
}

}  // namespace
}  // namespace zentri::test
