// Fades: frame by frame with the cubic easing, over the whole sub-tree, replaced while running,
// and safe when the node goes away mid-fade.

#include "widgets/transparable.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

using Fader = TTransparableI<GObject>;

TEST_F(Screen, FadeEasesOverItsStepsAndCarriesTheSubTree) {
    auto node = Add<Fader>({0, 0, 10, 10});
    GObjectPtr child(new GObject);
    node->AddChild(child);
    node->FadeTo(0, 4);
    EXPECT_EQ(Trace(5, [&] { return child->Transparency(); }),
              (std::vector<int>{255, 215, 127, 39, 0, 0}));
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(Screen, ASecondFadeTakesOverFromWhereTheFirstIs) {
    auto node = Add<Fader>({0, 0, 10, 10});
    node->FadeTo(0, 4);
    server.Frame();
    node->FadeTo(255, 2);
    // The first fade ends at the next tick; the second runs its two frames from 215.
    EXPECT_EQ(Trace(3, [&] { return node->Transparency(); }),
              (std::vector<int>{215, 235, 255, 255}));
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(Screen, FadeWithoutAServerOrStepsIsAtOnceAndEndsWithTheNode) {
    Fader detached;
    detached.FadeTo(40, 8);
    EXPECT_EQ(detached.Transparency(), 40);
    auto node = Add<Fader>({0, 0, 10, 10});
    node->FadeTo(90, 0);
    EXPECT_EQ(node->Transparency(), 90);
    node->FadeTo(0, 10);
    server.Frame();
    root->RemoveChild(node.get());
    node = nullptr;  // the last reference: the destructor locks the chain
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());
}

}  // namespace
}  // namespace zentri::test
