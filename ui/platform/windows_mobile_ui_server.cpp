#include "ui/platform/windows_mobile_ui_server.h"

#include "ui/clip_scope.h"
#include "ui/platform/platform_window.h"

namespace zentri {

bool WindowsMobileUIServer::StartTimer() {
    return window_ && window_->StartTimer(kTimerId, kFramePeriodMs);
}

void WindowsMobileUIServer::StopTimer() {
    if (window_) window_->KillTimer(kTimerId);
}

bool WindowsMobileUIServer::Paint(const Rect& area) {
    if (!surface_ || !surface_->HasPixels()) return true;  // nothing to paint on yet
    {
        ClipScope scope(*surface_, area, 0, 0);
        surface_->FillRaw(area, 0xFFFF);
        if (root) {
            GObjectPtr top = root;
            top->DrawTree(*surface_);
        }
    }
    if (window_) window_->Present(*surface_, area);
    return true;
}

void WindowsMobileUIServer::ScreenResized(int w, int h) {
    shared_ptr<WMSurface> fresh(new WMSurface);
    fresh->Create(w, h, false);
    surface_ = fresh;
}

bool WindowsMobileUIServer::Busy() const {
    if (!dirty.IsEmpty()) return true;
    bool any = false;
    for (const auto* list : {&animators, &pendingAnimators}) {
        for (const shared_ptr<Animator>& animator : *list) {
            any = true;
            auto* state = dynamic_cast<const StateAnimator*>(animator.get());
            if (!state || !state->Endless()) return true;
        }
    }
    // Without animators a running timer still has the tick to come that stops it.
    return !any && timerRunning;
}

}  // namespace zentri
