// Filled rectangles and the list row's separating lines.

#include "widgets/rect_drawer.h"
#include "tests/widgets/widget_support.h"
#include "widgets/image.h"
#include "widgets/rect_drawer_up_down.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

TEST_F(Screen, RectDrawerFillsItsRectangleAtItsTransparency) {
    auto node = Add<TRectDrawer<TTransparableI<GObject>>>({3, 4, 10, 6});
    node->SetFillColor(Color{0, 0, 0});
    shared_ptr<WMSurface> s = Render();
    EXPECT_EQ(InkBox(*s), (Rect{3, 4, 10, 6}));
    EXPECT_EQ(s->Pixel(3, 4), 0x0000);
    node->SetTransparency(128);
    EXPECT_EQ(Render()->Pixel(3, 4), (15 << 11) | (31 << 5) | 15);
}

TEST_F(Screen, RowsDrawABottomLineAndTheFirstRowATopLineToo) {
    using Row = TRectDrawerUpDown<TImage<GObject>>;
    GObjectPtr list(new GObject);
    list->SetRect({0, 0, 100, 100});
    root->AddChild(list);
    shared_ptr<Row> rows[2] = {new Row, new Row};
    for (int i = 0; i < 2; ++i) {
        rows[i]->SetRect({0, i * 10, 50, 10});
        rows[i]->SetLineColor(Color{0, 0, 0});
        list->AddChild(rows[i]);
    }
    shared_ptr<WMSurface> s = Render();
    auto line = [&](int y) { return s->Pixel(0, y) == 0 && s->Pixel(49, y) == 0; };
    EXPECT_TRUE(line(0));
    EXPECT_TRUE(line(9));
    EXPECT_FALSE(line(10));  // the second row has no top line
    EXPECT_TRUE(line(19));
    EXPECT_EQ(InkBox(*s), (Rect{0, 0, 50, 20}));
}

}  // namespace
}  // namespace zentri::test
