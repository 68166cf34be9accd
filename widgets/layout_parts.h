#pragma once
// Helpers shared by the layouts that place the parts of a row or bar by child id: a part that
// is absent is skipped.

#include "ui/display_metrics.h"
#include "ui/gobject.h"
#include "ui/rect.h"

namespace zentri {

// Gives the child with that id the rectangle; false when the owner has no such child.
inline bool PlacePart(GObject* owner, int id, const Rect& r) {
    GObjectPtr part;
    if (!owner->FindChild(id, part)) return false;
    part->SetRect(r);
    return true;
}

inline bool HasPart(const GObject* owner, int id) {
    GObjectPtr part;
    return owner->FindChild(id, part);
}

// The base font height, the unit of the interface's sizes (read once from the device).
inline int BaseUnit() {
    return GetDisplayMetrics().baseFontHeight;
}

}  // namespace zentri
