#pragma once
// The geometry shared by the tree-like list rows: an optional square icon at the left and an
// optional arrow (or switch) at the right narrow the box that the texts take.

#include "ui/gobject.h"
#include "widgets/layout_parts.h"

namespace zentri {

struct RowTextBox {
    RowTextBox(GObject* owner, int margin)
        : owner(owner), m(margin), left(margin), width(owner->Width() - 2 * margin) {}

    // The icon's side: the row's height less a margin above and below.
    int IconSide() const { return owner->Height() - 2 * m; }

    void PlaceIcon(int id) {
        int s = IconSide();
        if (!PlacePart(owner, id, Rect{m, m, s, s})) return;
        left += s + m;
        width -= m + s;
    }

    void PlaceArrow(int id, int w, int h) {
        Rect r{owner->Width() - w - m, (owner->Height() - h) / 2, w, h};
        if (!PlacePart(owner, id, r)) return;
        width -= w + m;
    }

    GObject* owner;
    int m;
    int left;
    int width;
};

}  // namespace zentri
