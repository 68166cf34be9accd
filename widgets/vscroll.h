#pragma once
// TVScroll: the vertical scroll view of every list and long page. The viewport holds two
// children: the content (id -200), which the finger drags directly and which flings, springs
// back and snaps through its y chain, and the scroll bar (id -201), which shows while the content
// moves and fades afterwards. Items in the content keep receiving the touch until the finger has
// moved farther than twice the bar's width; from then on the content captures it.
//
// Time comes from PerformanceFrequency (its counter is injectable), frames from the UI server's
// animators, so every position of a fling or spring is a pure function of the touches and the
// frames stepped.

#include <cmath>
#include <cstdlib>
#include <vector>

#include "ui/counted_ref.h"
#include "ui/input_manager.h"
#include "ui/layout.h"
#include "ui/performance_frequency.h"
#include "ui/touch.h"
#include "widgets/chain_run.h"
#include "widgets/i_restore.h"
#include "widgets/layout_parts.h"
#include "widgets/scroll_drawer.h"
#include "widgets/scroll_physics.h"
#include "widgets/transparable.h"
#include "widgets/vertical_move.h"

namespace zentri {

template <class B>
class TVScroll : public B, public IRestore {
  public:
    using ContentNode = TVerticalMoveI<GObject>;
    using ScrollBar = TScrollDrawer<TTransparableI<GObject>>;
    enum ChildId { kContentId = -200, kBarId = -201 };
    // Chain lengths of the eased moves: a snap or a picker's restore, the move above the keyboard.
    static constexpr int kSnapStates = 3;
    static constexpr int kKeyboardStates = 5;
    static constexpr int kBarFadeSteps = 10;

    // The viewport's layout: the content as wide as the viewport, and the bar along its right.
    class VScrollLayout : public Layout {
      public:
        explicit VScrollLayout(TVScroll* view) : view(view) {}
        void Arrange(GObject* owner, int reason) override {
            (void)reason;
            GObjectPtr content;
            if (owner->FindChild(kContentId, content)) {
                content->SetPosition(0, content->Y());
                content->SetSize(owner->Width(), content->Height());
                view->PlaceBar();
            }
            if (HasPart(owner, kBarId)) view->PlaceBar();
        }

      private:
        TVScroll* view;
    };

    explicit TVScroll(int baseUnit = BaseUnit()) : base(baseUnit) {
        InputManager::Instance().OnKeyboardShown().Add(this, &TVScroll::KeyboardShown);
        InputManager::Instance().OnKeyboardHidden().Add(this, &TVScroll::KeyboardHidden);
    }

    ~TVScroll() override {
        InputManager::Instance().OnKeyboardShown().RemoveObject(this);
        InputManager::Instance().OnKeyboardHidden().RemoveObject(this);
        if (!content) return;
        // The content may outlive the view (someone else may hold it): no handler of it may
        // point here any more.
        content->OnTouch().RemoveObject(this);
        content->OnMoved().RemoveObject(this);
        content->OnResized().RemoveObject(this);
        content->OnChildRemoved().RemoveObject(this);
        Chain().OnStateChanged().RemoveObject(this);
        Chain().Reset();
    }

    // The content, created with the bar on first access.
    ContentNode& Content() {
        EnsureContent();
        return *content;
    }
    ScrollBar& Bar() {
        EnsureContent();
        return *bar;
    }

    // Brings the content back into range: springs back to the nearer end (or, in a picker, to
    // the first or last item centred). False when it is already in range.
    bool Restore() override {
        if (!content) return false;
        restoring = true;
        const int y = content->Y(), h = content->Height(), viewH = this->Height();
        int target = y;
        if (snapEnabled) {
            const int slot = (viewH - itemHeight) / 2;
            if (h > itemHeight && y <= slot)
                target = y + h >= slot + itemHeight ? y : slot + itemHeight - h;
            else
                target = slot;
            if (target == y) return NothingToRestore();
            EaseTo(target, kSnapStates);
            return true;
        }
        if (h > viewH)
            target = y > 0 ? 0 : (y + h < viewH ? viewH - h : y);
        else
            target = 0;
        if (target == y) return NothingToRestore();
        SpringBack(target);
        return true;
    }

    // Picker mode: the content snaps so that one item of `height` sits in the centre slot.
    void SetSnap(bool enabled, int height) {
        snapEnabled = enabled;
        itemHeight = height;
        CentreItem();
    }
    // Puts item `index` in the centre slot (picker mode).
    void SetSnapItem(int index) {
        snapItem = index;
        CentreItem();
    }
    int SnapItem() const { return snapItem; }
    // The item in the centre slot now (picker mode).
    int CentredItem() const {
        if (!content || itemHeight <= 0) return 0;
        return ((this->Height() - itemHeight) / 2 - content->Y()) / itemHeight;
    }
    // The bar's opacity at rest (0: hidden until the content moves) and whether it shows while
    // the content moves and fades back afterwards.
    void SetBarOpacity(int value) {
        barOpacity = value;
        if (bar) bar->SetTransparency(value);
    }
    void SetBarFades(bool value) { barFades = value; }
    // Every touch goes to the view itself (a modal surface); items still get their clicks.
    void SetAlwaysCapture(bool value) { alwaysCapture = value; }
    // The next down does not stop a running fling.
    void KeepFlingOnDown() { keepFlingOnDown = true; }

    int BarWidth() const {
        int w = base / 2;
        return w % 2 == 0 ? w - 1 : w;
    }
    // How far a finger may move and still tap; how slow a release flings no more.
    int TapSlop() const { return 2 * BarWidth(); }
    int StopSpeed() const { return static_cast<int>(1.5 * BarWidth()); }
    int FlingSpeed() const { return flingSpeed; }
    bool Restoring() const { return restoring; }

    void TouchSeen(const Touch& touch) override {
        B::TouchSeen(touch);
        if (alwaysCapture && touch.type != Touch::kClick)
            touch.capture = CountedRef(static_cast<GObject*>(this));
        const TouchPoint p = touch.Current();
        if (touch.type == Touch::kDown) {
            segmentStart = lastPoint = p;
            segmentTime = 0;  // a drag taken over from an item starts its own segment
            if (content) {
                if (flingSpeed > TapSlop() && !alwaysCapture) {
                    // A fast fling is running: this down only stops it; the items under the
                    // finger never see it.
                    touch.consumed = true;
                    touch.capture = content;
                }
                if (!keepFlingOnDown && Chain().Count() != kSnapStates) Chain().Reset();
                keepFlingOnDown = false;
            }
        } else if (touch.type == Touch::kMove) {
            if (content && BeyondTap(touch)) touch.capture = content;
        } else if (touch.type == Touch::kUp) {
            if (alwaysCapture) touch.capture = nullptr;
            Restore();
        }
        flingSpeed = 0;
    }

  protected:
    void EnsureContent() {
        if (content) return;
        content = new ContentNode;
        content->SetClipToParent(true);
        this->AddChild(content, kContentId);
        content->SetSize(1, 1);
        bar = new ScrollBar;
        bar->SetTouchable(false);
        this->AddChild(bar, kBarId);
        bar->SetTransparency(0);
        bar->SetSize(BarWidth(), 1);
        content->OnTouch().Add(this, &TVScroll::ContentTouch);
        content->OnMoved().Add(this, &TVScroll::ContentMoved);
        content->OnResized().Add(this, &TVScroll::ContentResized);
        content->OnChildRemoved().Add(this, &TVScroll::ContentChildRemoved);
        Chain().OnStateChanged().Add(this, &TVScroll::ChainStateChanged);
        this->SetLayout(new VScrollLayout(this));
    }

    ComplexStatesChain<int>& Chain() { return *content->MoveChain(); }

    void PlaceBar() {
        if (!content || !bar) return;
        bar->SetRect(scroll::BarRect(content->Y(), content->Height(), this->Width(), this->Height(),
                                     BarWidth(), base));
        bar->SetTransparency(barOpacity);
    }

    // The finger left the tap area: farther than the slop from the previous point or the down.
    bool BeyondTap(const Touch& touch) const {
        const auto& trail = touch.trail;
        if (trail.size() < 2) return false;
        const TouchPoint p = trail.back(), prev = trail[trail.size() - 2], down = trail.front();
        auto farther = [this](TouchPoint a, TouchPoint b) {
            double dx = a.x - b.x, dy = a.y - b.y;
            return std::sqrt(dx * dx + dy * dy) > TapSlop();
        };
        return farther(p, prev) || farther(p, down);
    }

    // The content follows the finger; at half its speed while it lies beyond an end.
    void ContentTouch(GObjectPtr& self, const Touch& touch) {
        const TouchPoint p = touch.Current();
        if (touch.type == Touch::kDown) {
            touch.capture = self;
            segmentStart = lastPoint = p;
            segmentTime = 0;
        } else if (touch.type == Touch::kMove) {
            DragTo(self, touch, p);
        } else if (touch.type == Touch::kClick) {
            if (!Restore()) Fling();
            touch.capture = nullptr;
        }
    }

    void DragTo(GObjectPtr& self, const Touch& touch, TouchPoint p) {
        const double now = PerformanceFrequency::Instance().Seconds();
        if (segmentTime < 0.001) {
            segmentTime = now;
            segmentStart = lastPoint;
        }
        touch.capture = self;
        if (Chain().Count() != kSnapStates) Chain().Reset();
        if ((p.y - lastPoint.y) * (lastPoint.y - segmentStart.y) >= 0) {
            lastPoint = p;
        } else {  // the finger turned: the fling measures from here
            segmentStart = lastPoint = p;
            segmentTime = now;
        }
        const auto& trail = touch.trail;
        int dy = trail.size() < 2 ? 0 : p.y - trail[trail.size() - 2].y;
        if (content->Y() > 0 || content->Y() + content->Height() < this->Height()) dy /= 2;
        content->MoveBy(0, dy);
    }

    void Fling() {
        restoring = false;
        const double now = PerformanceFrequency::Instance().Seconds();
        const double v = scroll::ReleaseSpeed(lastPoint.y - segmentStart.y, now - segmentTime,
                                              2.0 * this->Height());
        Chain().Reset();
        const std::vector<int> positions =
            scroll::FlingPositions(content->Y(), content->Height(), this->Height(), v, StopSpeed());
        auto& keys = *Chain().GetInterpolator();
        for (size_t i = 0; i < positions.size(); ++i)
            keys.AddKey(static_cast<int>(i), positions[i]);
        Chain().SetCount(keys.StateCount());
        if (Chain().Count() > 1)
            RunOnce(*this, content->MoveChain());
        else if (snapEnabled)
            Snap();
    }

    void SpringBack(int target) {
        Chain().Reset();
        auto& keys = *Chain().GetInterpolator();
        for (const scroll::Key& key : scroll::SpringKeys(content->Y(), target))
            keys.AddKey(key.state, key.value);
        Chain().SetCount(keys.StateCount());
        RunOnce(*this, content->MoveChain());
    }

    // An eased move of `states` states (the first is where the content is now).
    void EaseTo(int target, int states) {
        Chain().Reset();
        Chain().SetTarget(states - 1, target);
        RunOnce(*this, content->MoveChain());
    }

    void Snap() {
        const int target = scroll::SnapTarget(content->Y(), this->Height(), itemHeight);
        if (target != content->Y()) EaseTo(target, kSnapStates);
    }

    void CentreItem() {
        if (!content || !snapEnabled) return;
        content->SetPosition(0, (this->Height() - itemHeight) / 2 - itemHeight * snapItem);
    }

    bool NothingToRestore() {
        restoring = false;
        return false;
    }

    void ContentMoved(GObjectPtr&, int, int dy) {
        PlaceBar();
        if (barFades) {
            bar->SetTransparency(255, true);
            bar->FadeTo(barOpacity, kBarFadeSteps);
        }
        if (dy != 0 && !restoring) Restore();
    }

    void ContentResized(GObjectPtr&, int, int) {
        PlaceBar();
        CentreItem();
    }

    void ContentChildRemoved(GObjectPtr&, const GObjectPtr&) { Restore(); }

    // The speed of a fling is the distance of its last frame; the last two states of a run
    // count as still.
    void ChainStateChanged(StatesChain*, int from, int to, int count) {
        // A handler of this very step may have started another run (a fling that crossed an
        // end springs back): the values of the old one are gone.
        if (Chain().Count() != count || Chain().State() != to) return;
        auto& keys = *Chain().GetInterpolator();
        flingSpeed = to >= count - 2 ? 0 : std::abs(keys.ValueAt(to) - keys.ValueAt(from));
        if (to == count - 1 && snapEnabled) Snap();
    }

    // Centres the edit box in the part of the viewport that the keyboard leaves free, when the
    // keyboard lies under this view. The edit box reports its screen y, so it may sit at any
    // depth inside the content: the content moves by the distance between that y and the
    // centred place.
    void KeyboardShown(int editScreenY, int editHeight, const Rect& keyboard) {
        if (!content) return;
        const Rect abs = this->AbsRect();
        const int centre = keyboard.x + keyboard.w / 2;
        if (centre <= abs.x || centre >= abs.x + abs.w) return;
        restoring = true;
        const int centred = abs.y + (this->Height() - keyboard.h - editHeight) / 2;
        EaseTo(content->Y() + centred - editScreenY, kKeyboardStates);
    }

    // Without the keyboard the content goes back into range.
    void KeyboardHidden() {
        if (content) Restore();
    }

    bool restoring = false;
    int flingSpeed = 0;
    bool keepFlingOnDown = false;
    TouchPoint segmentStart;
    TouchPoint lastPoint;
    double segmentTime = 0;  // seconds of PerformanceFrequency; 0 = not started
    shared_ptr<ContentNode> content;
    shared_ptr<ScrollBar> bar;
    bool snapEnabled = false;
    int itemHeight = 0;
    int snapItem = 0;
    int barOpacity = 0;
    bool barFades = true;
    bool alwaysCapture = false;
    int base;
};

}  // namespace zentri
