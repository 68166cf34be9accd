// The layouts that place the parts of a row or a header bar by child id.

#include <gtest/gtest.h>

#include <initializer_list>

#include "ui/gobject.h"
#include "widgets/app_list_item_layout.h"
#include "widgets/layout_parts.h"
#include "widgets/simple_header_layout.h"
#include "widgets/switch_item_layout.h"
#include "widgets/tree_item_layout.h"
#include "widgets/two_stage_tree_item_layout.h"

namespace zentri {
namespace {

GObjectPtr Row(int w, int h, std::initializer_list<int> ids) {
    GObjectPtr row = MakeShared<GObject>();
    for (int id : ids)
        row->AddChild(MakeShared<GObject>(), id);
    row->SetSize(w, h);
    return row;
}

Rect Part(const GObjectPtr& row, int id) {
    GObjectPtr part;
    EXPECT_TRUE(row->FindChild(id, part)) << id;
    return part ? part->Bounds() : Rect{};
}

TEST(TreeItemLayout, IconBadgeArrowAndTheTextBetween) {
    GObjectPtr row = Row(300, 60, {7000, 7001, 7002, 7003});
    row->SetLayout(MakeShared<TreeItemLayout>(4, 16, 24));
    EXPECT_EQ(Part(row, 7000), (Rect{4, 4, 52, 52}));
    EXPECT_EQ(Part(row, 7003), (Rect{38, 0, 26, 26}));
    EXPECT_EQ(Part(row, 7002), (Rect{280, 18, 16, 24}));
    EXPECT_EQ(Part(row, 7001), (Rect{60, 4, 216, 52}));

    // Without an icon the text starts at the margin.
    GObjectPtr plain = Row(300, 60, {7001, 7002});
    plain->SetLayout(MakeShared<TreeItemLayout>(4, 16, 24));
    EXPECT_EQ(Part(plain, 7001), (Rect{4, 4, 272, 52}));
}

TEST(TwoStageTreeItemLayout, TitleAboveSubtitle) {
    GObjectPtr row = Row(300, 60, {8979, 8980, 8981, 8982});
    row->SetLayout(MakeShared<TwoStageTreeItemLayout>(4, 16, 24));
    EXPECT_EQ(Part(row, 8982), (Rect{4, 4, 52, 52}));
    EXPECT_EQ(Part(row, 8981), (Rect{280, 18, 16, 24}));
    EXPECT_EQ(Part(row, 8979), (Rect{60, 4, 216, 24}));
    EXPECT_EQ(Part(row, 8980), (Rect{60, 32, 216, 24}));
}

TEST(SwitchItemLayout, TheSwitchTakesTheArrowsPlaceAtSixByTwoUnits) {
    const int b = BaseUnit();
    GObjectPtr row = Row(600, 80, {8990, 8991, 8992});
    row->SetLayout(MakeShared<SwitchItemLayout>(4));
    EXPECT_EQ(Part(row, 8992), (Rect{4, 4, 72, 72}));
    EXPECT_EQ(Part(row, 8991), (Rect{600 - 6 * b - 4, (80 - 2 * b) / 2, 6 * b, 2 * b}));
    EXPECT_EQ(Part(row, 8990), (Rect{80, 4, 592 - 76 - 6 * b - 4, 72}));
}

TEST(AppListItemLayout, PlacesEveryPartOfAnApplicationRow) {
    GObjectPtr row = Row(300, 80, {20, 21, 22, 23, 24, 25, 26, 27, 30});
    shared_ptr<AppListItemLayout> layout = MakeShared<AppListItemLayout>(4, 16, 24, 60, 14);
    layout->SetUnits(12, 32);
    row->SetLayout(layout);
    EXPECT_EQ(Part(row, 20), (Rect{4, 4, 32, 32}));
    EXPECT_EQ(Part(row, 21), (Rect{40, 4, 260, 16}));
    EXPECT_EQ(Part(row, 22), (Rect{40, 20, 204, 16}));
    EXPECT_EQ(Part(row, 26), (Rect{228, 20, 48, 16}));
    EXPECT_EQ(Part(row, 23), (Rect{280, 28, 16, 24}));
    EXPECT_EQ(Part(row, 24), (Rect{4, 62, 60, 14}));
    EXPECT_EQ(Part(row, 25), (Rect{68, 62, 48, 14}));
    EXPECT_EQ(Part(row, 27), (Rect{200, 62, 84, 14}));
    EXPECT_EQ(Part(row, 30), (Rect{4, 62, 276, 14}));
}

TEST(SimpleHeaderLayout, ALongCrumbGivesWayToTheTitle) {
    GObjectPtr bar = Row(480, 50, {-801, -802, -803, -804});
    shared_ptr<SimpleHeaderLayout> layout = MakeShared<SimpleHeaderLayout>(200, 150, 5, 10);
    bar->SetLayout(layout);
    EXPECT_EQ(Part(bar, -804), (Rect{435, 5, 40, 40}));
    EXPECT_EQ(Part(bar, -802), (Rect{5, 0, 150, 50}));
    EXPECT_EQ(Part(bar, -803), (Rect{155, 0, 10, 50}));
    EXPECT_EQ(Part(bar, -801), (Rect{165, 0, 260, 50}));

    layout->SetTitleWidth(300);  // both no longer fit: the crumb takes a third
    layout->Update(Layout::kContentChanged);
    EXPECT_EQ(Part(bar, -802), (Rect{5, 0, 143, 50}));
    EXPECT_EQ(Part(bar, -803), (Rect{148, 0, 10, 50}));
    EXPECT_EQ(Part(bar, -801), (Rect{158, 0, 267, 50}));

    // No crumb and no home icon: the title takes the width.
    GObjectPtr plain = Row(480, 50, {-801, -802, -803});
    plain->SetLayout(MakeShared<SimpleHeaderLayout>(200, 0, 5, 10));
    EXPECT_EQ(Part(plain, -802), (Rect{5, 0, 0, 50}));
    EXPECT_EQ(Part(plain, -801), (Rect{15, 0, 470, 50}));
}

}  // namespace
}  // namespace zentri
