#include "widgets/switcher_layout.h"

#include "ui/gobject.h"
#include "widgets/movable.h"
#include "widgets/switch.h"

namespace zentri {

void SwitcherLayout::Arrange(GObject* container, int reason) {
    (void)reason;
    if (container->ChildCount() != 1) return;
    GObjectPtr strip = container->ChildAt(0);
    int w = container->Width(), h = container->Height();
    strip->SetSize(w + w / 2, h);
    for (int face : {Switch::kOnFace, Switch::kOffFace})
        if (strip->ChildCount() > static_cast<size_t>(face)) strip->ChildAt(face)->SetVisible(true);
    int x = Switch::IsOn(*container) ? 0 : w - (w + w / 2);
    auto* movable = dynamic_cast<TMovableI<GObject>*>(strip.get());
    if (movable && strip->Server()) {
        movable->MoveTo(x, 0, Switch::kSlideSteps);
        return;
    }
    // Off screen nothing animates: the strip is placed, and the covered face hidden, at once.
    strip->SetPosition(x, 0);
    Switch::HideCoveredFace(*strip);
}

}  // namespace zentri
