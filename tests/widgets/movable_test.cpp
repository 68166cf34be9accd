// Moves of both coordinates together, frame by frame, and the arrival notification.

#include "widgets/movable.h"
#include "tests/widgets/widget_support.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

using Mover = TMovableI<TTransparableI<GObject>>;

TEST_F(Screen, MovableMovesBothCoordinatesInStepAndTellsItsArrival) {
    auto node = Add<Mover>({0, 0, 10, 10});
    std::vector<int> arrived;
    node->MoveChain()->OnStateChanged().Add(
        [&](StatesChain*, int, int to, int count) { arrived.push_back(to == count - 1); });
    node->MoveTo(100, 40, 4);
    EXPECT_EQ(Trace(5, [&] { return node->X() * 1000 + node->Y(); }),
              (std::vector<int>{0, 15006, 50020, 84033, 100040, 100040}));
    EXPECT_EQ(arrived, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_FALSE(node->Moving());
}

TEST_F(Screen, MovableReplacesARunningMoveAndEndsWithTheNode) {
    auto node = Add<Mover>({0, 0, 10, 10});
    node->MoveTo(100, 0, 4);
    server.Frame();
    node->MoveTo(15, 50, 2);  // from (15, 0)
    server.Frames(3);
    EXPECT_EQ(node->Bounds(), (Rect{15, 50, 10, 10}));
    node->MoveTo(100, 100, 10);
    server.Frame();
    root->RemoveChild(node.get());
    node = nullptr;
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());

    Mover detached;  // no server: placed at once
    detached.MoveTo(7, 9, 5);
    EXPECT_EQ(detached.Bounds(), (Rect{7, 9, 0, 0}));
}

}  // namespace
}  // namespace zentri::test
