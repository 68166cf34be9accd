// Vertical moves, frame by frame.

#include "widgets/vertical_move.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

TEST_F(Screen, VerticalMoveEasesTheYKeepsTheXAndStopsWhereItIs) {
    auto node = Add<TVerticalMoveI<GObject>>({5, 10, 10, 10});
    node->MoveToY(-30, 2);
    EXPECT_EQ(Trace(3, [&] { return node->Y(); }), (std::vector<int>{10, -10, -30, -30}));
    EXPECT_EQ(node->X(), 5);
    node->MoveToY(70, 4);
    server.Frame();
    EXPECT_EQ(node->Y(), -14);  // -30 + 100 x 0.15625, truncated towards zero
    node->StopMove();
    server.Frames(2);
    EXPECT_EQ(node->Y(), -14);
    EXPECT_FALSE(server.HasAnimators());
}

}  // namespace
}  // namespace zentri::test
