// Fades: frame by frame with the cubic easing, over the whole sub-tree, replaced while running,
// and safe when the node goes away mid-fade.

#include "widgets/transparable.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

using Fader = TTransparableI<GObject>;

class Fade : public Screen {
  protected:
    std::vector<int> Run(Fader& node, int frames) {
        std::vector<int> seen{node.Transparency()};
        for (int i = 0; i < frames; ++i) {
            server.Frame();
            seen.push_back(node.Transparency());
        }
        return seen;
    }
};

TEST_F(Fade, EasesOverTheStepsAndCarriesTheSubTree) {
    auto node = Add<Fader>({0, 0, 10, 10});
    GObjectPtr child(new GObject);
    node->AddChild(child);
    node->FadeTo(0, 4);
    EXPECT_EQ(Run(*node, 5), (std::vector<int>{255, 215, 127, 39, 0, 0}));
    EXPECT_EQ(child->Transparency(), 0);
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(Fade, ASecondFadeTakesOverFromWhereTheFirstIs) {
    auto node = Add<Fader>({0, 0, 10, 10});
    node->FadeTo(0, 4);
    server.Frame();
    ASSERT_EQ(node->Transparency(), 215);
    node->FadeTo(255, 2);
    // The first fade ends at the next tick; the second runs its two frames from 215.
    EXPECT_EQ(Run(*node, 3), (std::vector<int>{215, 235, 255, 255}));
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(Fade, WithoutAServerOrStepsTheValueIsTakenAtOnce) {
    Fader detached;
    detached.FadeTo(40, 8);
    EXPECT_EQ(detached.Transparency(), 40);
    auto node = Add<Fader>({0, 0, 10, 10});
    node->FadeTo(90, 0);
    EXPECT_EQ(node->Transparency(), 90);
    EXPECT_FALSE(server.HasAnimators());
}

TEST_F(Fade, ANodeDestroyedMidFadeEndsItsAnimator) {
    auto node = Add<Fader>({0, 0, 10, 10});
    node->FadeTo(0, 10);
    server.Frame();
    root->RemoveChild(node.get());
    node = nullptr;  // the last reference: the chain is locked by the destructor
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());
}

}  // namespace
}  // namespace zentri::test
