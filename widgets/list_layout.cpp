#include "widgets/list_layout.h"

#include <algorithm>

#include "ui/gobject.h"
#include "widgets/layout_parts.h"

namespace zentri {

ListLayout::ListLayout(int itemHeight, int spacing, std::vector<int> headerIndexes)
    : itemHeight(itemHeight), spacing(spacing), base(BaseUnit()) {
    SetHeaders(std::move(headerIndexes));
}

void ListLayout::SetHeaders(std::vector<int> indexes) {
    headers = std::move(indexes);
    sortedHeaders = headers;
    std::sort(sortedHeaders.begin(), sortedHeaders.end());
}

void ListLayout::SetItemHeight(int value, int reason) {
    itemHeight = value;
    Update(reason);
}

void ListLayout::ArrangeChildren(GObject* owner, int reason) {
    (void)reason;
    // Headers are walked alongside the children, so a long list costs one pass.
    auto header = sortedHeaders.begin();
    int y = 0;
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        while (header != sortedHeaders.end() && *header < static_cast<int>(i))
            ++header;
        bool isHeader = header != sortedHeaders.end() && *header == static_cast<int>(i);
        int h = isHeader ? base * 3 / 2 : itemHeight;
        GObjectPtr child = owner->ChildAt(i);
        child->SetRect(Rect{0, y, owner->Width(), h});
        y += h;
    }
}

}  // namespace zentri
