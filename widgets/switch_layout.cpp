#include "widgets/switch_layout.h"

#include "ui/gobject.h"
#include "widgets/switch.h"

namespace zentri {

void SwitchLayout::Arrange(GObject* strip, int reason) {
    (void)reason;
    int s = strip->Width(), h = strip->Height();
    third = s / 3;
    int c = (s - third) / 2;
    // The parts are found by their place: the faces and the toggler all carry id -1.
    if (strip->ChildCount() > Switch::kOnFace)
        strip->ChildAt(Switch::kOnFace)->SetRect(Rect{0, 0, c + third, h});
    if (strip->ChildCount() > Switch::kOffFace)
        strip->ChildAt(Switch::kOffFace)->SetRect(Rect{c, 0, c + third, h});
    if (strip->ChildCount() > Switch::kToggler)
        strip->ChildAt(Switch::kToggler)->SetRect(Rect{c, 0, third, h});
}

}  // namespace zentri
