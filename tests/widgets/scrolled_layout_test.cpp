// The layouts of a scroll view's content: the list, the table, and the content height that
// follows the children.

#include <gtest/gtest.h>

#include "ui/gobject.h"
#include "widgets/list_layout.h"
#include "widgets/table_layout.h"

namespace zentri {
namespace {

GObjectPtr AddChildren(const GObjectPtr& owner, int n) {
    for (int i = 0; i < n; ++i)
        owner->AddChild(MakeShared<GObject>());
    return owner;
}

TEST(ListLayout, StacksRowsAndHeadersFromTheTop) {
    GObjectPtr content = AddChildren(MakeShared<GObject>(), 4);
    shared_ptr<ListLayout> layout = MakeShared<ListLayout>(40, 5, std::vector<int>{0});
    layout->SetBaseUnit(12);
    content->SetLayout(layout);
    content->SetSize(200, 2);
    EXPECT_EQ(content->ChildAt(0)->Bounds(), (Rect{0, 0, 200, 18}));
    EXPECT_EQ(content->ChildAt(1)->Bounds(), (Rect{0, 18, 200, 40}));
    EXPECT_EQ(content->ChildAt(2)->Y(), 58);
    EXPECT_EQ(content->ChildAt(3)->Y(), 98);
    EXPECT_EQ(content->Height(), 138);  // the rows start at 0: no margin below
    EXPECT_EQ(content->Width(), 200);

    layout->SetItemHeight(20);
    EXPECT_EQ(content->ChildAt(3)->Y(), 58);
    EXPECT_EQ(content->Height(), 78);
}

TEST(ListLayout, AOneByOneContentIsNotArrangedYet) {
    GObjectPtr content = AddChildren(MakeShared<GObject>(), 2);
    content->SetSize(1, 1);
    content->SetLayout(MakeShared<ListLayout>(40, 0));
    EXPECT_EQ(content->ChildAt(1)->Y(), 0);
    EXPECT_EQ(content->Height(), 1);
}

class FixedRows : public BaseScrolledObjectLayout {
  public:
    void ArrangeChildren(GObject* owner, int) override {
        owner->ChildAt(0)->SetRect(Rect{0, 10, 50, 90});
        owner->ChildAt(1)->SetRect(Rect{0, 400, 50, 100});
    }
};

TEST(BaseScrolledObjectLayout, ContentGetsABottomMarginEqualToItsTopUnlessItFits) {
    GObjectPtr viewport = MakeShared<GObject>();
    viewport->SetSize(100, 300);
    GObjectPtr content = AddChildren(MakeShared<GObject>(), 2);
    viewport->AddChild(content);
    content->SetSize(100, 2);
    content->SetLayout(MakeShared<FixedRows>());
    EXPECT_EQ(content->Height(), 510);  // rows from 10 to 500

    viewport->SetSize(100, 600);  // everything fits: no bottom margin
    content->GetLayout()->Update(Layout::kContentChanged);
    EXPECT_EQ(content->Height(), 500);
}

TEST(TableLayout, PlacesCellsByRowAndCentresALoneCell) {
    GObjectPtr table = AddChildren(MakeShared<GObject>(), 3);
    shared_ptr<TableLayout> layout = MakeShared<TableLayout>(10, 40);
    layout->AddCell({0, 0, 0.5, 1});
    layout->AddCell({0, 1, 0.5, 1});
    layout->AddCell({1, 0, 0.5, 2});
    table->SetSize(220, 2);
    table->SetLayout(layout);
    // Inner width 200: two cells of 100 - 10 side by side.
    EXPECT_EQ(table->ChildAt(0)->Bounds(), (Rect{10, 10, 90, 40}));
    EXPECT_EQ(table->ChildAt(1)->Bounds(), (Rect{110, 10, 90, 40}));
    // Alone in its row: x = 10 + (200 - 95) / 2, width 100 - 20, two rows high.
    EXPECT_EQ(table->ChildAt(2)->Bounds(), (Rect{62, 60, 80, 80}));
    EXPECT_EQ(table->Height(), 150);

    // A record missing: nothing is arranged.
    table->AddChild(MakeShared<GObject>());
    EXPECT_EQ(table->ChildAt(3)->Bounds(), (Rect{}));
}

}  // namespace
}  // namespace zentri
