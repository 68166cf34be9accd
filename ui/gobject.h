#pragma once
// A node of the one retained tree that the UI server owns through its root. Parents own their
// children (counted pointers); the link back to the parent and to the server are plain
// pointers. A node draws itself and its children, routes touches and keys, and implements drag
// and drop between nodes. Widgets are template mix-ins on GObject that override its hooks.
//
// Nodes live in shared_ptrs (MakeShared): a node takes a counted reference on itself while it
// fires its own events, so a handler may drop the last other reference without pulling the node
// away under the running code.

#include <cstddef>
#include <string_view>
#include <vector>

#include "ui/delegate.h"
#include "ui/layout.h"
#include "ui/rect.h"
#include "ui/shared_object.h"

namespace zentri {

class GObject;
class Surface;
class UIServer;
struct Touch;
struct Key;

using GObjectPtr = shared_ptr<GObject>;

// The argument lists of the event lists; the first argument always names the node itself.
using DrawEvent = Delegation_2<GObjectPtr&, Surface&>;
using FlagEvent = Delegation_2<GObjectPtr&, bool>;
using DeltaEvent = Delegation_3<GObjectPtr&, int, int>;
using ChildEvent = Delegation_2<GObjectPtr&, const GObjectPtr&>;
using TouchEvent = Delegation_2<GObjectPtr&, const Touch&>;
using KeyEvent = Delegation_2<GObjectPtr&, const Key&>;
using NodeEvent = Delegation_1<GObjectPtr&>;
using AcceptDropEvent = Delegation_3<GObjectPtr&, const Touch&, bool&>;
using ParentEvent = Delegation_3<GObjectPtr&, GObjectPtr&, GObjectPtr&>;
using DestroyedEvent = Delegation_0;

struct DrawMargins {
    int dx = 0;
    int dy = 0;
    int dw = 0;
    int dh = 0;
};

class GObject : public shared_object {
  public:
    GObject() = default;
    GObject(const GObject&) = delete;
    GObject& operator=(const GObject&) = delete;

    // Virtual operations in slot order. All are empty here except the destructor (fires
    // onDestroyed, then releases the event lists, the layout and the children) and AcceptsDrop.
    // onDestroyed fires as the last reference is released, while the node is still whole, so a
    // handler may use the derived node (a destructor of this base would see only a GObject);
    // the destructor fires it only for a node that was never counted.
    ~GObject() override;
    // Paints the node itself; the surface origin is at the node's absolute position.
    virtual void Draw(Surface& surface) { (void)surface; }
    virtual void FocusableChanged(bool value) { (void)value; }
    virtual void TouchableChanged(bool value) { (void)value; }
    virtual void VisibleChanged(bool value) { (void)value; }
    virtual void Moved(int dx, int dy) { (void)dx, (void)dy; }
    virtual void Resized(int dw, int dh) { (void)dw, (void)dh; }
    virtual void ParentChanged(GObjectPtr& oldParent, GObjectPtr& newParent) {
        (void)oldParent, (void)newParent;
    }
    virtual void ChildAdded(const GObjectPtr& child) { (void)child; }
    virtual void ChildRemoved(const GObjectPtr& child) { (void)child; }
    virtual void FocusChanged(bool focused) { (void)focused; }
    virtual void Reserved() {}  // an empty slot, never called
    // Every touch whose point lies in the node, before its children are asked.
    virtual void TouchSeen(const Touch& touch) { (void)touch; }
    virtual void KeyPressed(const Key& key) { (void)key; }
    virtual void Pressed(const Touch& touch, bool pressed) { (void)touch, (void)pressed; }
    virtual void Released(const Touch& touch) { (void)touch; }
    virtual void DragStarted() {}
    virtual void DragEnded() {}
    virtual void DragCancelled() {}
    // The dragged node is the touch's dragged reference.
    virtual bool AcceptsDrop(const Touch& touch) {
        (void)touch;
        return true;
    }
    virtual void DropEnter(const Touch& touch) { (void)touch; }
    virtual void DropOver(const Touch& touch) { (void)touch; }
    virtual void DropLeave(const Touch& touch) { (void)touch; }
    // For tools that find nodes by what they show (automation): the text the node draws, empty
    // for nodes without text; and whether the node is a text entry.
    virtual std::u16string_view AutomationText() const { return {}; }
    virtual bool IsEditBox() const { return false; }

    // Structure. The caller removes a child from its old parent before adding it elsewhere.
    void AddChild(const GObjectPtr& child, int id = -1);
    bool RemoveChild(const GObject* child);
    bool RemoveChildById(int id);
    // Throws std::out_of_range for an index past the end.
    void RemoveChildAt(size_t index);
    // Releases every child without hooks, events or a layout update.
    void RemoveAllChildren();
    size_t ChildCount() const { return children.size(); }
    // Throws std::out_of_range for an index past the end.
    const GObjectPtr& ChildAt(size_t index) const;
    bool FirstChild(GObjectPtr& out) const;
    bool IndexOf(const GObject* child, size_t& index) const;
    bool FindChild(int childId, GObjectPtr& out) const;
    bool GetParent(GObjectPtr& out) const;
    GObject* Parent() const { return parent; }
    // The top of the tree this node is in (the node itself when it has no parent).
    GObject* Root();
    unsigned Tag() const { return tag; }
    void SetTag(unsigned value) { tag = value; }
    int Id() const { return id; }
    void SetId(int value) { id = value; }
    const shared_ptr<Layout>& GetLayout() const { return layout; }
    void SetLayout(const shared_ptr<Layout>& newLayout);
    UIServer* Server() const { return server; }
    // Hands the server to the node and its whole sub-tree.
    void SetServer(UIServer* newServer);

    // Geometry and state; each setter does nothing when the value does not change.
    void SetPosition(int newX, int newY);
    void MoveBy(int dx, int dy) { SetPosition(x + dx, y + dy); }
    void SetSize(int w, int h);
    void SetRect(const Rect& r);
    void SetVisible(bool value);
    void SetFocusable(bool value);
    void SetTouchable(bool value);
    void SetFocused(bool value);
    // Values outside 0..255 are ignored.
    void SetTransparency(int value, bool toChildren = false);
    void SetDrawMargins(int dx, int dy, int dw, int dh);
    void SetClipToParent(bool value) { clipToParent = value; }
    void SetDraggable(bool value) { draggable = value; }
    void SetDropTarget(bool value) { dropTarget = value; }
    void SetClearsFocus(bool value) { clearsFocus = value; }
    // Tells the server which area of the screen to repaint.
    void Invalidate();

    int X() const { return x; }
    int Y() const { return y; }
    int Width() const { return width; }
    int Height() const { return height; }
    Rect Bounds() const { return Rect{x, y, width, height}; }
    // The absolute rectangle: the parent's absolute position plus x, y while the node is
    // attached to its parent (a removed child counts from 0, 0 again). Computed from the chain
    // of parents, so moving a node never has to touch its descendants.
    Rect AbsRect() const;
    const DrawMargins& Margins() const { return drawMargins; }
    // The area the node may paint: absRect enlarged by the draw margins.
    Rect PaintArea() const;
    bool IsVisible() const { return visible; }
    bool IsFocusable() const { return focusable; }
    bool IsTouchable() const { return touchable; }
    bool IsFocused() const { return focused; }
    bool IsPressed() const { return pressed; }
    bool ClearsFocus() const { return clearsFocus; }
    int Transparency() const { return transparency; }
    bool IsDragging() const { return dragging; }
    bool IsDraggable() const { return draggable; }
    bool IsDropTarget() const { return dropTarget; }
    bool ClipsToParent() const { return clipToParent; }

    // Back-to-front drawing of the node and its sub-tree, clipped to each node's paint area.
    void DrawTree(Surface& surface);
    // The indexes [first, end) of the children whose vertical extent may meet the band
    // top..bottom (in this node's coordinates, edges included). Children stacked in order
    // (tops and bottoms both non-decreasing, as a list's rows are) are found by binary search,
    // so drawing and hit testing never walk what lies off screen; otherwise every child.
    void ChildrenInBand(int top, int bottom, size_t& first, size_t& end) const;
    // Routes a touch through the node and its sub-tree; true when some node took it.
    bool DispatchTouch(Touch& touch);
    // Routes a key from this node; true when some node with onKey subscribers took it.
    bool DispatchKey(const Key& key);
    // Press and release by the finger: the touch's pressed reference, the flag, the hook and
    // the event. Pressing a pressed node or releasing one that is not pressed does nothing.
    void PressTouch(Touch& touch);
    void ReleaseTouch(Touch& touch);

    // The event lists, created on first use.
    DrawEvent& OnDraw() { return Lazy(onDraw); }
    FlagEvent& OnFocusableChanged() { return Lazy(onFocusableChanged); }
    FlagEvent& OnTouchableChanged() { return Lazy(onTouchableChanged); }
    FlagEvent& OnVisibleChanged() { return Lazy(onVisibleChanged); }
    DeltaEvent& OnMoved() { return Lazy(onMoved); }
    DeltaEvent& OnResized() { return Lazy(onResized); }
    ChildEvent& OnChildAdded() { return Lazy(onChildAdded); }
    ChildEvent& OnChildRemoved() { return Lazy(onChildRemoved); }
    TouchEvent& OnTouch() { return Lazy(onTouch); }
    TouchEvent& OnPressed() { return Lazy(onPressed); }
    TouchEvent& OnReleased() { return Lazy(onReleased); }
    KeyEvent& OnKey() { return Lazy(onKey); }
    FlagEvent& OnFocusChanged() { return Lazy(onFocusChanged); }
    NodeEvent& OnDragStarted() { return Lazy(onDragStarted); }
    NodeEvent& OnDragEnded() { return Lazy(onDragEnded); }
    NodeEvent& OnDragCancelled() { return Lazy(onDragCancelled); }
    AcceptDropEvent& OnAcceptDrop() { return Lazy(onAcceptDrop); }
    TouchEvent& OnDropEnter() { return Lazy(onDropEnter); }
    TouchEvent& OnDropOver() { return Lazy(onDropOver); }
    TouchEvent& OnDropLeave() { return Lazy(onDropLeave); }
    ParentEvent& OnParentChanged() { return Lazy(onParentChanged); }
    DestroyedEvent& OnDestroyed() { return Lazy(onDestroyed); }
    // Only nodes whose onTouch list exists become touch targets.
    bool HasTouchList() const { return static_cast<bool>(onTouch); }

  protected:
    // Calls every subscriber of `list` (when it exists) with a counted reference to this node.
    template <class D, class... A>
    void Fire(const shared_ptr<D>& list, A&&... args);

    GObject* parent = nullptr;
    std::vector<GObjectPtr> children;  // z-order: index 0 is drawn first (bottom)
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool attached = false;  // counts from the parent's position (a removed child does not)
    DrawMargins drawMargins;
    bool visible = true;
    bool focusable = false;
    bool touchable = true;
    bool focused = false;
    bool pressed = false;
    bool clearsFocus = true;
    int transparency = 255;
    unsigned tag = 0;
    int id = -1;
    shared_ptr<Layout> layout;
    UIServer* server = nullptr;
    bool dragging = false;
    bool draggable = false;
    int grabX = 0;
    int grabY = 0;
    bool dragMoving = false;
    bool dropTarget = false;
    shared_ptr<DrawEvent> onDraw;
    shared_ptr<FlagEvent> onFocusableChanged;
    shared_ptr<FlagEvent> onTouchableChanged;
    shared_ptr<FlagEvent> onVisibleChanged;
    shared_ptr<DeltaEvent> onMoved;
    shared_ptr<DeltaEvent> onResized;
    shared_ptr<ChildEvent> onChildAdded;
    shared_ptr<ChildEvent> onChildRemoved;
    shared_ptr<TouchEvent> onTouch;
    shared_ptr<TouchEvent> onPressed;
    shared_ptr<TouchEvent> onReleased;
    shared_ptr<KeyEvent> onKey;
    shared_ptr<FlagEvent> onFocusChanged;
    shared_ptr<NodeEvent> onDragStarted;
    shared_ptr<NodeEvent> onDragEnded;
    shared_ptr<NodeEvent> onDragCancelled;
    shared_ptr<AcceptDropEvent> onAcceptDrop;
    shared_ptr<TouchEvent> onDropEnter;
    shared_ptr<TouchEvent> onDropOver;
    shared_ptr<TouchEvent> onDropLeave;
    shared_ptr<ParentEvent> onParentChanged;
    shared_ptr<DestroyedEvent> onDestroyed;
    bool clipToParent = false;

  private:
    void LastRelease() override;
    void FireDestroyed();
    // Whether the children are stacked in order, known until a child moves, resizes or comes.
    mutable bool orderKnown = false;
    mutable bool childrenOrdered = false;

    template <class D>
    static D& Lazy(shared_ptr<D>& list) {
        if (!list) list = new D;
        return *list;
    }

    void Attach(GObject* newParent);
    // A child's place among its siblings changed: their order has to be checked again.
    void ForgetSiblingOrder() {
        if (attached && parent) parent->orderKnown = false;
    }
    bool ChildrenOrdered() const;
    void DrawTreeAt(Surface& surface, int parentX, int parentY);
    void RemoveChildIndex(size_t index);
    void UpdateLayout(int reason);

    // Touch routing (gobject_touch.cpp).
    bool DispatchToCapture(Touch& touch);
    bool AskChildren(Touch& touch, const Rect& abs);
    void TakeOrDropFocus();
    bool DeliverTouch(Touch& touch);
    void StartDrag(Touch& touch);
    void DragEvent(Touch& touch);
    void DragMove(Touch& touch);
    void EndDrag(Touch& touch);
    bool DropTargetSearch(Touch& touch);
    static void LeaveDropTarget(Touch& touch);
};

}  // namespace zentri

#include "ui/counted_ref.h"

namespace zentri {

template <class D, class... A>
void GObject::Fire(const shared_ptr<D>& list, A&&... args) {
    if (!list) return;
    shared_ptr<D> keepList = list;  // a handler may replace the list
    GObjectPtr self = CountedRef(this);
    keepList->Invoke(self, std::forward<A>(args)...);
}

}  // namespace zentri
