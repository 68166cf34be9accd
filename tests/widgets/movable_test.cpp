// Moves of both coordinates together, frame by frame, and the arrival notification.

#include "widgets/movable.h"
#include "tests/widgets/widget_support.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

using Mover = TMovableI<TTransparableI<GObject>>;

TEST_F(Screen, MovableMovesBothCoordinatesInStepAndTellsItsArrival) {
    auto node = Add<Mover>({0, 0, 10, 10});
    std::vector<int> states;
    node->MoveChain()->OnStateChanged().Add(
        [&](StatesChain*, int, int to, int count) { states.push_back(to == count - 1); });
    node->MoveTo(100, 40, 4);
    std::vector<TouchPoint> path{{node->X(), node->Y()}};
    while (server.HasAnimators()) {
        server.Frame();
        path.push_back({node->X(), node->Y()});
    }
    EXPECT_EQ(path,
              (std::vector<TouchPoint>{{0, 0}, {15, 6}, {50, 20}, {84, 33}, {100, 40}, {100, 40}}));
    EXPECT_EQ(states, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_FALSE(node->Moving());
}

TEST_F(Screen, MovableReplacesARunningMoveAndPlacesDetachedNodesAtOnce) {
    auto node = Add<Mover>({0, 0, 10, 10});
    node->MoveTo(100, 0, 4);
    server.Frame();
    node->MoveTo(15, 50, 2);  // from (15, 0)
    server.Frames(3);
    EXPECT_EQ(node->X(), 15);
    EXPECT_EQ(node->Y(), 50);
    EXPECT_FALSE(server.HasAnimators());

    Mover detached;
    detached.MoveTo(7, 9, 5);
    EXPECT_EQ(detached.X(), 7);
    EXPECT_EQ(detached.Y(), 9);
}

TEST_F(Screen, MovableDestroyedMidMoveEndsItsAnimator) {
    auto node = Add<Mover>({0, 0, 10, 10});
    node->MoveTo(100, 100, 10);
    server.Frame();
    root->RemoveChild(node.get());
    node = nullptr;
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());
}

}  // namespace
}  // namespace zentri::test
