// Vertical moves, frame by frame.

#include "widgets/vertical_move.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

TEST_F(Screen, VerticalMoveEasesTheYAndKeepsTheX) {
    auto node = Add<TVerticalMoveI<GObject>>({5, 10, 10, 10});
    node->MoveToY(-30, 2);
    std::vector<int> ys{node->Y()};
    for (int i = 0; i < 3; ++i) {
        server.Frame();
        ys.push_back(node->Y());
    }
    EXPECT_EQ(node->X(), 5);
    EXPECT_EQ(ys, (std::vector<int>{10, -10, -30, -30}));

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
