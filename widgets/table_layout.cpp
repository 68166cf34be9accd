#include "widgets/table_layout.h"

#include "ui/gobject.h"

namespace zentri {

int TableLayout::CellsInRow(size_t from) const {
    int n = 0;
    for (size_t k = from; k < cells.size() && cells[k].row <= cells[from].row; ++k)
        ++n;
    return n;
}

void TableLayout::ArrangeChildren(GObject* owner, int reason) {
    (void)reason;
    if (owner->ChildCount() != cells.size()) return;
    const int inner = owner->Width() - 2 * gap;
    int x = gap, rowCells = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        if (i == 0 || cell.row != cells[i - 1].row) {
            rowCells = CellsInRow(i);
            x = gap;
            if (rowCells == 1) {
                int w1 = static_cast<int>((inner - gap) * cell.widthFraction);
                x = gap + (inner - w1) / 2;
            }
        }
        int w = static_cast<int>(inner * cell.widthFraction) - (rowCells == 1 ? 2 * gap : gap);
        int y = gap + cell.row * (gap + rowHeight);
        GObjectPtr child = owner->ChildAt(i);
        child->SetRect(Rect{x, y, w, rowHeight * cell.heightUnits});
        x += w + gap;
    }
}

}  // namespace zentri
