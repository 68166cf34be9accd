#include "app/loading_layout.h"

#include "ui/display_metrics.h"
#include "ui/gobject.h"

namespace zentri {

void LoadingLayout::Arrange(GObject* layer, int reason) {
    (void)reason;
    const int u = GetDisplayMetrics().baseFontHeight;
    const int w = layer->Width(), h = layer->Height();
    GObjectPtr part;
    if (layer->FindChild(kStripId, part)) part->SetRect(Rect{0, h - 2 * u, w, 2 * u});
    if (layer->FindChild(kSpinnerId, part)) part->SetRect(Rect{w - 2 * u, h - 2 * u, 2 * u, 2 * u});
}

}  // namespace zentri
