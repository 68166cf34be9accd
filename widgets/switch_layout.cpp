#include "widgets/switch_layout.h"

#include "ui/display_metrics.h"
#include "ui/gobject.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/switch.h"

namespace zentri {

namespace {

// A face shows its text beside the toggler, in `room` pixels. A text too wide for them (a long
// word in some language) is set smaller, down to the base font size, rather than run under it.
void FitText(GObject& node, int room) {
    auto* face = dynamic_cast<TLabel<TImage<GObject>>*>(&node);
    if (!face || face->Text().empty()) return;
    const int u = GetDisplayMetrics().baseFontHeight;
    const int pads = face->Width() - face->TextRect().w;
    for (int size = u * 3 / 2; size >= u; --size) {
        face->SetFont(600, size);
        if (face->TextWidth() <= room - pads) return;
    }
}

}  // namespace

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
    for (int face : {Switch::kOnFace, Switch::kOffFace})
        if (strip->ChildCount() > static_cast<size_t>(face)) FitText(*strip->ChildAt(face), c);
    if (strip->ChildCount() > Switch::kToggler)
        strip->ChildAt(Switch::kToggler)->SetRect(Rect{c, 0, third, h});
}

}  // namespace zentri
