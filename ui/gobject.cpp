#include "ui/gobject.h"

#include <algorithm>
#include <stdexcept>

#include "ui/clip_scope.h"
#include "ui/surface.h"
#include "ui/ui_server.h"

namespace zentri {

GObject::~GObject() {
    FireDestroyed();
    onDraw = nullptr;
    onFocusableChanged = nullptr;
    onTouchableChanged = nullptr;
    onVisibleChanged = nullptr;
    onMoved = nullptr;
    onResized = nullptr;
    onChildAdded = nullptr;
    onChildRemoved = nullptr;
    onTouch = nullptr;
    onPressed = nullptr;
    onReleased = nullptr;
    onKey = nullptr;
    onFocusChanged = nullptr;
    onDragStarted = nullptr;
    onDragEnded = nullptr;
    onDragCancelled = nullptr;
    onAcceptDrop = nullptr;
    onDropEnter = nullptr;
    onDropOver = nullptr;
    onDropLeave = nullptr;
    onParentChanged = nullptr;
    onDestroyed = nullptr;
    if (layout) layout->Forget();
    layout = nullptr;
    // Children that live on elsewhere must not point back at a node that is gone.
    for (GObjectPtr& child : children) {
        if (child->parent == this) child->parent = nullptr;
        child->attached = false;
    }
    children.clear();
}

void GObject::LastRelease() {
    FireDestroyed();
}

// Once: the list goes with its firing, so a node kept alive by a handler and released again
// does not announce its end twice.
void GObject::FireDestroyed() {
    shared_ptr<DestroyedEvent> list = std::move(onDestroyed);
    if (list) list->Invoke();
}

// ---- structure ----

void GObject::AddChild(const GObjectPtr& child, int childId) {
    if (!child) return;
    GObjectPtr keep = CountedRef(this);
    GObjectPtr added = child;
    added->SetServer(server);
    if (childId != -1) added->id = childId;
    children.push_back(added);
    orderKnown = false;
    added->Attach(this);
    ChildAdded(added);
    Fire(onChildAdded, added);
    added->Invalidate();
    UpdateLayout(Layout::kChildAdded);
}

void GObject::Attach(GObject* newParent) {
    GObjectPtr keep = CountedRef(this);
    GObjectPtr oldRef = CountedRef(parent);
    GObjectPtr newRef = CountedRef(newParent);
    parent = newParent;
    attached = true;
    ParentChanged(oldRef, newRef);
    Fire(onParentChanged, oldRef, newRef);
}

bool GObject::RemoveChild(const GObject* child) {
    size_t index = 0;
    if (!IndexOf(child, index)) return false;
    RemoveChildIndex(index);
    return true;
}

bool GObject::RemoveChildById(int childId) {
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i]->id == childId) {
            RemoveChildIndex(i);
            return true;
        }
    }
    return false;
}

void GObject::RemoveChildAt(size_t index) {
    if (index >= children.size()) throw std::out_of_range("invalid vector<T> subscript");
    RemoveChildIndex(index);
}

void GObject::RemoveChildIndex(size_t index) {
    GObjectPtr keep = CountedRef(this);
    GObjectPtr child = children[index];
    child->Invalidate();
    child->attached = false;
    // Taking one out keeps the others in their order.
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
    UpdateLayout(Layout::kChildRemoved);
    ChildRemoved(child);
    Fire(onChildRemoved, child);
    // The removed child keeps its parent and server pointers; `child` releases it here.
}

void GObject::RemoveAllChildren() {
    GObjectPtr keep = CountedRef(this);
    std::vector<GObjectPtr> old;
    old.swap(children);
    for (GObjectPtr& child : old)
        child->attached = false;
    old.clear();
    orderKnown = false;
    Invalidate();
}

const GObjectPtr& GObject::ChildAt(size_t index) const {
    if (index >= children.size()) throw std::out_of_range("invalid vector<T> subscript");
    return children[index];
}

bool GObject::FirstChild(GObjectPtr& out) const {
    if (children.empty()) return false;
    out = children.front();
    return true;
}

bool GObject::IndexOf(const GObject* child, size_t& index) const {
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].get() == child) {
            index = i;
            return true;
        }
    }
    return false;
}

bool GObject::FindChild(int childId, GObjectPtr& out) const {
    for (const GObjectPtr& child : children) {
        if (child->id == childId) {
            out = child;
            return true;
        }
    }
    return false;
}

bool GObject::GetParent(GObjectPtr& out) const {
    if (!parent) return false;
    out = CountedRef(parent);
    return true;
}

GObject* GObject::Root() {
    GObject* node = this;
    while (node->parent)
        node = node->parent;
    return node;
}

void GObject::SetLayout(const shared_ptr<Layout>& newLayout) {
    if (layout == newLayout) return;
    if (layout) layout->Forget();
    layout = nullptr;
    if (!newLayout) return;
    newLayout->SetOwner(this);
    layout = newLayout;
    layout->Update(Layout::kLayoutSet);
}

void GObject::UpdateLayout(int reason) {
    if (!layout) return;
    shared_ptr<Layout> keep = layout;
    keep->Update(reason);
}

void GObject::SetServer(UIServer* newServer) {
    server = newServer;
    for (GObjectPtr& child : children)
        child->SetServer(newServer);
}

Rect GObject::AbsRect() const {
    Rect r{x, y, width, height};
    for (const GObject* node = this; node->attached && node->parent; node = node->parent) {
        r.x += node->parent->x;
        r.y += node->parent->y;
    }
    return r;
}

bool GObject::ChildrenOrdered() const {
    if (orderKnown) return childrenOrdered;
    childrenOrdered = true;
    for (size_t i = 1; i < children.size() && childrenOrdered; ++i) {
        const GObject& a = *children[i - 1];
        const GObject& b = *children[i];
        childrenOrdered = a.y <= b.y && a.y + a.height <= b.y + b.height;
    }
    orderKnown = true;
    return childrenOrdered;
}

void GObject::ChildrenInBand(int top, int bottom, size_t& first, size_t& end) const {
    // Below this count a plain walk is as fast as checking the order.
    constexpr size_t kSearchFrom = 16;
    first = 0;
    end = children.size();
    if (end < kSearchFrom || !ChildrenOrdered()) return;
    // Bottoms are non-decreasing: the first child that reaches down to the band's top.
    auto reachesTop = [top](const GObjectPtr& c) { return c->y + c->height < top; };
    auto below = std::partition_point(children.begin(), children.end(), reachesTop);
    // Tops are non-decreasing: everything from the first child starting past the band's bottom
    // on lies below it.
    auto startsPastBottom = [bottom](const GObjectPtr& c) { return c->y <= bottom; };
    auto past = std::partition_point(below, children.end(), startsPastBottom);
    first = static_cast<size_t>(below - children.begin());
    end = static_cast<size_t>(past - children.begin());
}

// ---- geometry and state ----

void GObject::SetPosition(int newX, int newY) {
    if (newX == x && newY == y) return;
    GObjectPtr keep = CountedRef(this);
    int dx = newX - x, dy = newY - y;
    // Moving a dragged node from outside keeps the node where the finger holds it.
    if (dragging && !dragMoving) {
        grabX -= dx;
        grabY -= dy;
    }
    Invalidate();
    x = newX;
    y = newY;
    if (dy != 0) ForgetSiblingOrder();
    Moved(dx, dy);
    Fire(onMoved, dx, dy);
    Invalidate();
}

void GObject::SetSize(int w, int h) {
    if (w == width && h == height) return;
    GObjectPtr keep = CountedRef(this);
    int dw = w - width, dh = h - height;
    Invalidate();
    width = w;
    height = h;
    if (dh != 0) ForgetSiblingOrder();
    Invalidate();
    UpdateLayout(Layout::kOwnerResized);
    Resized(dw, dh);
    Fire(onResized, dw, dh);
}

void GObject::SetRect(const Rect& r) {
    GObjectPtr keep = CountedRef(this);
    SetPosition(r.x, r.y);
    SetSize(r.w, r.h);
}

void GObject::SetVisible(bool value) {
    if (value == visible) return;
    GObjectPtr keep = CountedRef(this);
    visible = value;
    Invalidate();
    VisibleChanged(value);
    Fire(onVisibleChanged, value);
}

void GObject::SetFocusable(bool value) {
    if (value == focusable) return;
    GObjectPtr keep = CountedRef(this);
    focusable = value;
    Invalidate();
    FocusableChanged(value);
    Fire(onFocusableChanged, value);
}

void GObject::SetTouchable(bool value) {
    if (value == touchable) return;
    GObjectPtr keep = CountedRef(this);
    touchable = value;
    Invalidate();
    TouchableChanged(value);
    Fire(onTouchableChanged, value);
}

void GObject::SetFocused(bool value) {
    if (!server || value == focused) return;
    GObjectPtr keep = CountedRef(this);
    // The server un-focuses the previous holder first. Setting false leaves its pointer.
    if (value) server->SetFocus(keep);
    focused = value;
    Invalidate();
    FocusChanged(value);
    Fire(onFocusChanged, value);
}

void GObject::SetTransparency(int value, bool toChildren) {
    if (static_cast<unsigned>(value) > 255u) return;
    if (value != transparency) {
        transparency = value;
        Invalidate();
    }
    if (!toChildren) return;
    for (size_t i = 0; i < children.size(); ++i) {
        GObjectPtr child = children[i];
        child->SetTransparency(value, true);
    }
}

void GObject::SetDrawMargins(int dx, int dy, int dw, int dh) {
    DrawMargins m{dx, dy, dw, dh};
    if (m.dx == drawMargins.dx && m.dy == drawMargins.dy && m.dw == drawMargins.dw &&
        m.dh == drawMargins.dh)
        return;
    Invalidate();  // the old area too, so a shrinking margin leaves nothing stale behind
    drawMargins = m;
    Invalidate();
}

Rect GObject::PaintArea() const {
    Rect abs = AbsRect();
    return Rect{abs.x + drawMargins.dx, abs.y + drawMargins.dy, width + drawMargins.dw,
                height + drawMargins.dh};
}

void GObject::Invalidate() {
    if (!server) return;
    if (drawMargins.dw == 0 && drawMargins.dh == 0) {
        Rect area = AbsRect();
        if (clipToParent && parent) area = area.Intersection(parent->AbsRect());
        server->Invalidate(area);
        return;
    }
    server->Invalidate(PaintArea());
    for (GObjectPtr& child : children)
        child->Invalidate();
}

// ---- drawing ----

void GObject::DrawTree(Surface& surface) {
    Rect abs = AbsRect();
    DrawTreeAt(surface, abs.x - x, abs.y - y);
}

void GObject::DrawTreeAt(Surface& surface, int parentX, int parentY) {
    if (!visible || transparency <= 0) return;
    const Rect abs{parentX + x, parentY + y, width, height};
    if (!abs.Overlaps(surface.CurrentClip())) return;
    GObjectPtr keep = CountedRef(this);
    ClipScope scope(surface,
                    Rect{abs.x + drawMargins.dx, abs.y + drawMargins.dy, width + drawMargins.dw,
                         height + drawMargins.dh},
                    abs.x, abs.y);
    Draw(surface);
    Fire(onDraw, surface);
    // Only the children that can meet the clip. The bounds are re-checked on each step: a draw
    // handler may change the tree (each child keeps itself alive while it draws).
    const Rect clip = surface.CurrentClip();
    size_t first = 0, end = 0;
    ChildrenInBand(clip.y - abs.y, clip.y + clip.h - abs.y, first, end);
    for (size_t i = first; i < end && i < children.size(); ++i)
        children[i]->DrawTreeAt(surface, abs.x, abs.y);
}

}  // namespace zentri
