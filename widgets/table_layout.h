#pragma once
// Places the children in rows of cells: each child has a cell record (row, column, a fraction
// of the inner width, a height in row units). A row with a single cell is centred. Nothing is
// arranged while the number of records differs from the number of children.

#include <vector>

#include "widgets/base_scrolled_object_layout.h"

namespace zentri {

class TableLayout : public BaseScrolledObjectLayout {
  public:
    struct Cell {
        int row = 0;
        int column = 0;  // for the caller's bookkeeping; the arrangement does not use it
        double widthFraction = 1.0;
        int heightUnits = 1;
    };

    TableLayout(int gap, int rowHeight) : gap(gap), rowHeight(rowHeight) {}

    void ArrangeChildren(GObject* owner, int reason) override;

    // One record per child, in child order.
    void AddCell(const Cell& cell) { cells.push_back(cell); }
    void ClearCells() { cells.clear(); }
    const std::vector<Cell>& Cells() const { return cells; }

  private:
    int CellsInRow(size_t from) const;

    std::vector<Cell> cells;
    int gap;
    int rowHeight;
};

}  // namespace zentri
