// Touch routing with capture, press/release, drag and drop, and key routing.

#include <algorithm>

#include "ui/gobject.h"
#include "ui/touch.h"
#include "ui/ui_server.h"

namespace zentri {

bool GObject::DispatchTouch(Touch& touch) {
    if (touch.cancelled || touch.consumed) return false;
    if (touch.capture) return DispatchToCapture(touch);
    if (touch.dragged) {
        GObjectPtr dragged = touch.dragged;
        dragged->DragEvent(touch);
        return true;
    }
    GObjectPtr keep = CountedRef(this);
    TouchPoint p = touch.Current();
    const Rect abs = AbsRect();
    if (!abs.Contains(p.x, p.y) || !visible || !touchable) {
        ReleaseTouch(touch);
        return false;
    }
    TouchSeen(touch);
    if (AskChildren(touch, abs)) return true;
    if (touch.type == Touch::kDown) TakeOrDropFocus();
    // Nobody subscribed: not a target; the search goes on with the parent's lower children.
    if (!onTouch) return false;
    return DeliverTouch(touch);
}

bool GObject::DispatchToCapture(Touch& touch) {
    GObjectPtr target = touch.capture;
    if (touch.type == Touch::kDown) {
        if (target->focusable) {
            target->SetFocused(true);
        } else {
            target->SetFocused(false);
            if (target->server) target->server->SetFocus(nullptr);
        }
    }
    target->TouchSeen(touch);
    touch.lastTarget = target;
    target->Fire(target->onTouch, touch);
    return true;
}

bool GObject::AskChildren(Touch& touch, const Rect& abs) {
    // Only the children that can hold the point are asked. One that lies elsewhere would refuse
    // the touch and let go of the finger's press; the pressed one among the skipped children
    // is released as the full walk would have done: before the others when it lies above
    // them, after them when below and nobody took the touch.
    int py = touch.Current().y - abs.y;
    size_t first = 0, end = 0;
    ChildrenInBand(py, py, first, end);
    // In ordered children a child lies past the range exactly when it starts below the point,
    // and before it when it ends above.
    const GObject* held = touch.pressed.get();
    bool searched = first != 0 || end != children.size();
    bool skipsPressed = searched && held && held->parent == this && held->attached &&
                        (held->y > py || held->y + held->height < py);
    bool pressedLater = skipsPressed && held->y > py;
    if (pressedLater) {
        GObjectPtr skipped = touch.pressed;
        skipped->ReleaseTouch(touch);
    }
    // Top-most first; the count is re-read because handlers may change the tree.
    for (size_t i = std::min(end, children.size()); i-- > first;) {
        if (i >= children.size()) continue;
        GObjectPtr child = children[i];
        if (child->DispatchTouch(touch)) return true;
    }
    if (skipsPressed && !pressedLater && touch.pressed) {
        GObjectPtr skipped = touch.pressed;
        skipped->ReleaseTouch(touch);
    }
    return false;
}

void GObject::TakeOrDropFocus() {
    if (focusable) {
        SetFocused(true);
        return;
    }
    SetFocused(false);
    if (clearsFocus && server) server->SetFocus(nullptr);
}

bool GObject::DeliverTouch(Touch& touch) {
    GObjectPtr self = CountedRef(this);
    if (touch.pressed && touch.pressed.get() != this) {
        GObjectPtr other = touch.pressed;
        other->ReleaseTouch(touch);
    }
    if (draggable && touch.type == Touch::kDown) {
        StartDrag(touch);
        return true;
    }
    if (touch.type == Touch::kDown) touch.downTarget = self;
    touch.lastTarget = self;
    Fire(onTouch, touch);
    if (touch.type == Touch::kUp)
        ReleaseTouch(touch);
    else
        PressTouch(touch);
    return true;
}

void GObject::PressTouch(Touch& touch) {
    if (pressed) return;
    GObjectPtr self = CountedRef(this);
    touch.pressed = self;
    pressed = true;
    Pressed(touch, true);
    Fire(onPressed, touch);
}

void GObject::ReleaseTouch(Touch& touch) {
    if (!pressed) return;
    GObjectPtr self = CountedRef(this);
    if (touch.pressed.get() == this) touch.pressed = nullptr;
    pressed = false;
    Released(touch);
    Fire(onReleased, touch);
}

// ---- drag and drop ----

void GObject::StartDrag(Touch& touch) {
    GObjectPtr self = CountedRef(this);
    dragging = true;
    touch.dragged = self;
    touch.savedId = id;
    if (parent) {
        TouchPoint p = touch.Current();
        Rect abs = AbsRect();
        grabX = p.x - abs.x;
        grabY = p.y - abs.y;
        GObjectPtr oldParent = CountedRef(parent);
        GObjectPtr root = CountedRef(parent->Root());
        oldParent->RemoveChild(this);
        root->AddChild(self);
        dragMoving = true;
        Rect rootAbs = root->AbsRect();
        SetPosition(p.x - grabX - rootAbs.x, p.y - grabY - rootAbs.y);
        dragMoving = false;
        // The node came from its parent: that is where it returns unless another target
        // takes it.
        touch.dropTarget = oldParent;
        oldParent->DropEnter(touch);
        oldParent->Fire(oldParent->onDropEnter, touch);
    }
    DragStarted();
    Fire(onDragStarted);
}

void GObject::DragEvent(Touch& touch) {
    GObjectPtr self = CountedRef(this);
    if (!draggable || touch.type == Touch::kUp) {
        EndDrag(touch);
        return;
    }
    if (touch.type == Touch::kDown || touch.type == Touch::kDoubleClick) return;
    DragMove(touch);
}

void GObject::DragMove(Touch& touch) {
    GObjectPtr root = CountedRef(Root());
    root->DropTargetSearch(touch);
    TouchPoint p = touch.Current();
    Rect base = parent && attached ? parent->AbsRect() : Rect{};
    int baseX = base.x, baseY = base.y;
    dragMoving = true;
    SetPosition(p.x - grabX - baseX, p.y - grabY - baseY);
    dragMoving = false;
}

void GObject::EndDrag(Touch& touch) {
    GObjectPtr self = CountedRef(this);
    id = touch.savedId;
    if (parent) {
        GObjectPtr holder = CountedRef(parent);
        holder->RemoveChild(this);
    }
    GObjectPtr target = touch.dropTarget;
    bool accepted = target && target->AcceptsDrop(touch);
    if (accepted) {
        bool accept = true;
        target->Fire(target->onAcceptDrop, touch, accept);
        accepted = accept;
    }
    if (accepted) {
        TouchPoint p = touch.Current();
        Rect targetAbs = target->AbsRect();
        int relX = p.x - targetAbs.x, relY = p.y - targetAbs.y;
        target->AddChild(self, -1);
        dragMoving = true;
        SetPosition(relX - grabX, relY - grabY);
        dragMoving = false;
        DragEnded();
        Fire(onDragEnded);
    } else {
        DragCancelled();
        Fire(onDragCancelled);
        DragEnded();
        Fire(onDragEnded);
    }
    LeaveDropTarget(touch);
    ReleaseTouch(touch);
    touch.dragged = nullptr;
    dragging = false;
    touch.cancelled = true;  // later events are ignored until the next down
}

bool GObject::DropTargetSearch(Touch& touch) {
    TouchPoint p = touch.Current();
    if (!AbsRect().Contains(p.x, p.y) || !visible || touch.dragged.get() == this) return false;
    GObjectPtr self = CountedRef(this);
    for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
        if (i >= static_cast<int>(children.size())) continue;
        GObjectPtr child = children[static_cast<size_t>(i)];
        if (child->DropTargetSearch(touch)) return true;
    }
    if (!dropTarget) return false;
    if (touch.dropTarget.get() == this) {
        DropOver(touch);
        Fire(onDropOver, touch);
        return true;
    }
    LeaveDropTarget(touch);
    touch.dropTarget = self;
    DropEnter(touch);
    Fire(onDropEnter, touch);
    return true;
}

void GObject::LeaveDropTarget(Touch& touch) {
    if (!touch.dropTarget) return;
    GObjectPtr previous = touch.dropTarget;
    touch.dropTarget = nullptr;
    previous->DropLeave(touch);
    previous->Fire(previous->onDropLeave, touch);
}

// ---- keys ----

bool GObject::DispatchKey(const Key& key) {
    if (!focusable) return false;
    GObjectPtr keep = CountedRef(this);
    KeyPressed(key);
    if (!focused) {
        for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
            if (i >= static_cast<int>(children.size())) continue;
            GObjectPtr child = children[static_cast<size_t>(i)];
            if (child->DispatchKey(key)) return true;
        }
    }
    Fire(onKey, key);
    return onKey && !onKey->Empty();
}

}  // namespace zentri
