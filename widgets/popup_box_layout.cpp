#include "widgets/popup_box_layout.h"

#include "ui/display_metrics.h"
#include "ui/gobject.h"
#include "widgets/popup_box.h"

namespace zentri {

void PopupBoxLayout::Arrange(GObject* panel, int reason) {
    (void)reason;
    int a = GetDisplayMetrics().baseFontHeight / 2;
    int w = panel->Width(), h = panel->Height();
    GObjectPtr part;
    if (panel->FindChild(PopupBox::kCaptionId, part)) part->SetRect(Rect{a, a, w - 2 * a, 3 * a});
    if (panel->FindChild(PopupBox::kMessageId, part))
        part->SetRect(Rect{a, 5 * a, w - 2 * a, h - 5 * a});
}

}  // namespace zentri
