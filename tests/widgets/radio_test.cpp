// Radio groups: one selected option, selection by click, the selection event.

#include "widgets/radio.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

class Radio : public Screen {
  protected:
    Radio() {
        group = Add<TRadio<GObject>>({0, 0, 90, 30});
        group->OnSelectionChanged().Add([this](GObjectPtr& g, int i) {
            EXPECT_EQ(g.get(), group.get());
            events.push_back(i);
        });
        for (int i = 0; i < 3; ++i) {
            options[i] = new GObject;
            options[i]->SetRect({i * 30, 0, 30, 30});
            group->AddChild(options[i]);
        }
    }
    std::vector<bool> Flags() const {
        return {options[0]->IsFocusable(), options[1]->IsFocusable(), options[2]->IsFocusable()};
    }

    shared_ptr<TRadio<GObject>> group;
    GObjectPtr options[3];
    std::vector<int> events;
};

TEST_F(Radio, TheFirstOptionIsSelectedAndAClickMovesTheSelection) {
    EXPECT_EQ(Flags(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(events, (std::vector<int>{0}));
    Tap(75, 10);
    EXPECT_EQ(Flags(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(events, (std::vector<int>{0, 2}));
    EXPECT_EQ(group->Selected(), 2);
    Tap(75, 10);  // already selected: nothing changes
    EXPECT_EQ(events.size(), 2u);
    group->Select(1);
    EXPECT_EQ(Flags(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(events.back(), 1);
}

TEST_F(Radio, ARemovedOptionNoLongerTalksToTheGroup) {
    GObjectPtr kept = options[2];
    group->RemoveChild(kept.get());
    kept->SetFocusable(true);
    EXPECT_EQ(Flags(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(events, (std::vector<int>{0}));
    group->RemoveChild(options[1].get());
    group = nullptr;
    root->RemoveAllChildren();  // the group goes; its options live on
    options[0]->SetFocusable(false);
    options[0]->SetFocusable(true);
    EXPECT_EQ(events, (std::vector<int>{0}));
}

TEST_F(Radio, AnOptionAddedSelectedTakesTheSelection) {
    GObjectPtr extra(new GObject);
    extra->SetFocusable(true);
    group->AddChild(extra);
    EXPECT_EQ(Flags(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(group->Selected(), 3);
    EXPECT_EQ(events.back(), 3);
}

}  // namespace
}  // namespace zentri::test
