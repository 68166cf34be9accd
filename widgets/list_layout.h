#pragma once
// Stacks the children from the top in index order, each as wide as the owner and one item
// high; the children named as group headers are one and a half base units high.

#include <vector>

#include "widgets/base_scrolled_object_layout.h"

namespace zentri {

class ListLayout : public BaseScrolledObjectLayout {
  public:
    ListLayout(int itemHeight, int spacing, std::vector<int> headers = {});

    void ArrangeChildren(GObject* owner, int reason) override;

    int ItemHeight() const { return itemHeight; }
    // Re-arranges with the given reason (4 when the rows' content changed, 3 to lay out anew).
    void SetItemHeight(int value, int reason = kContentChanged);
    int Spacing() const { return spacing; }
    const std::vector<int>& Headers() const { return headers; }
    void SetHeaders(std::vector<int> indexes);
    // The base unit that sizes the headers (the device's by default).
    void SetBaseUnit(int value) { base = value; }

  private:
    int itemHeight;
    int spacing;  // kept for the callers; rows are stacked without gaps
    std::vector<int> headers;
    std::vector<int> sortedHeaders;
    int base;
};

}  // namespace zentri
