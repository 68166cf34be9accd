#include "ui/ui_server.h"

#include "ui/input_manager.h"
#include "ui/performance_frequency.h"

namespace zentri {

// Nodes can outlive the server (a singleton may hold one): they must not keep pointing at it.
UIServer::~UIServer() {
    if (root) root->SetServer(nullptr);
    if (focus) focus->SetServer(nullptr);
    touch = Touch();
    focus = nullptr;
    root = nullptr;
}

void UIServer::SetRoot(const GObjectPtr& node) {
    root = node;
    if (!root) return;
    GObjectPtr keep = root;
    keep->SetId(0);
    keep->SetSize(screen.w, screen.h);
    keep->SetServer(this);
    keep->SetFocused(true);
    Invalidate();  // a new tree shows everywhere
}

void UIServer::Resize(int w, int h) {
    screen = Rect{0, 0, w, h};
    dirty = screen;
    EnsureTimer();
    ScreenResized(w, h);
}

void UIServer::Invalidate(const Rect& area) {
    dirty = dirty.Union(area.Intersection(screen));
    EnsureTimer();
}

void UIServer::Invalidate() {
    dirty = screen;
    EnsureTimer();
}

void UIServer::EnsureTimer() {
    if (!timerRunning) timerRunning = StartTimer();
}

void UIServer::AddAnimator(const shared_ptr<Animator>& animator) {
    if (!animator) return;
    animator->Attach();
    (ticking ? pendingAnimators : animators).push_back(animator);
    EnsureTimer();
}

void UIServer::SetFocus(const GObjectPtr& node) {
    GObjectPtr old = focus;
    if (old) old->SetFocused(false);
    focus = node;
    if (!node) InputManager::Instance().Hide();
}

// An animator added twice is stepped once per tick: its older entry sees an attach count
// above 1 and is dropped.
void UIServer::StepAnimators(bool& lookedAtAny) {
    ticking = true;
    std::vector<shared_ptr<Animator>> kept;
    kept.reserve(animators.size());
    for (size_t i = 0; i < animators.size(); ++i) {
        shared_ptr<Animator> animator = animators[i];
        lookedAtAny = true;
        if (animator->AttachCount() <= 1 && animator->Step())
            kept.push_back(animator);
        else
            animator->Detach();
    }
    animators.swap(kept);
    ticking = false;
    for (shared_ptr<Animator>& added : pendingAnimators)
        animators.push_back(std::move(added));
    pendingAnimators.clear();
}

void UIServer::Tick(bool stepAnimators, bool paint) {
    shared_ptr<UIServer> keep = CountedRef(this);
    bool lookedAtAny = false;
    if (stepAnimators) StepAnimators(lookedAtAny);
    bool paintAttempted = false;
    if (paint && !paintSuspended && !dirty.IsEmpty()) {
        paintAttempted = true;
        if (Paint(dirty)) dirty = Rect{};
    }
    if (!lookedAtAny && !paintAttempted && timerRunning) {
        timerRunning = false;
        StopTimer();
    }
}

void UIServer::DispatchTouch(int type, int x, int y) {
    if (type == Touch::kDown || type == Touch::kDoubleClick) {
        touch.trail.clear();
        touch.downTime = PerformanceFrequency::Instance().TickCount();
        touch.dragged = touch.pressed = touch.dropTarget = nullptr;
        touch.downTarget = touch.lastTarget = nullptr;
        touch.cancelled = false;
    }
    touch.consumed = false;
    touch.trail.push_back(TouchPoint{x, y});
    touch.type = type;
    GObjectPtr heldBefore = touch.capture;
    if (root) {
        GObjectPtr start = root;
        start->DispatchTouch(touch);
    }
    if (touch.capture && touch.capture != heldBefore) TakeOverGesture();
    if (type != Touch::kUp) return;
    if (touch.lastTarget && touch.lastTarget == touch.downTarget) {
        touch.type = Touch::kClick;
        GObjectPtr target = touch.lastTarget;
        target->DispatchTouch(touch);
    }
    if (touch.pressed) {
        GObjectPtr pressedNode = touch.pressed;
        pressedNode->ReleaseTouch(touch);
    }
}

// A node that captures the touch in the middle of a gesture (a scroll view's content once the
// finger has moved far enough) takes the gesture over: it becomes the down target, so the click
// after the up reaches it and it can finish (fling, let the capture go), and the row that was
// pressed under the finger lets go of its press.
void UIServer::TakeOverGesture() {
    touch.downTarget = touch.capture;
    if (touch.pressed && touch.pressed != touch.capture) {
        GObjectPtr pressedNode = touch.pressed;
        pressedNode->ReleaseTouch(touch);
    }
}

void UIServer::DispatchKey(int code, int character) {
    GObjectPtr start = focus ? focus : root;
    if (start) start->DispatchKey(Key{code, character});
}

}  // namespace zentri
