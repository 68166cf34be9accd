#include "widgets/box_layout.h"

#include "ui/gobject.h"
#include "widgets/movable.h"
#include "widgets/popup_box.h"
#include "widgets/transparable.h"

namespace zentri {

void BoxLayout::Arrange(GObject* backdrop, int reason) {
    GObjectPtr panel;
    if (!backdrop->FindChild(PopupBox::kPanelId, panel)) return;
    int w = backdrop->Width(), h = backdrop->Height();
    auto* movable = dynamic_cast<TMovableI<TTransparableI<GObject>>*>(panel.get());
    if (reason == kContentChanged && movable)
        movable->MoveTo(0, h / 2, kSlideSteps);
    else
        panel->SetPosition(0, h / 2);
    panel->SetSize(w, h / 2);
}

}  // namespace zentri
