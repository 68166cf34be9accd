// The on/off switch: its strip's geometry, the slide on a new value, and its picture.

#include "widgets/switch.h"

#include <gtest/gtest.h>

#include "tests/ui/test_nodes.h"
#include "tests/widgets/widget_art.h"

namespace zentri::test {
namespace {

class SwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallWidgetArt(device);
        server->Resize(480, 200);
        server->SetRoot(root);
        root->AddChild(row);
        row->SetRect(Rect{0, 0, 480, 100});
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            server->Tick(true, false);
    }
    void Tap(int x, int y) {
        server->DispatchTouch(Touch::kDown, x, y);
        server->DispatchTouch(Touch::kUp, x, y);
    }
    static GObject& Strip(const GObjectPtr& container) { return *container->ChildAt(0); }
    static bool FaceShown(const GObjectPtr& container, int face) {
        return Strip(container).ChildAt(face)->IsVisible();
    }

    TempDevice device;
    shared_ptr<TestServer> server = MakeShared<TestServer>();
    GObjectPtr root = MakeShared<GObject>();
    GObjectPtr row = MakeShared<GObject>();
};

TEST_F(SwitchTest, AnOffSwitchSlidesHalfAWidthLeftAtItsFirstArrangement) {
    auto sw = MakeShared<Switch>();
    GObjectPtr container = sw->Create(row, u"ON", u"OFF", 8991);
    EXPECT_EQ(container->Id(), 8991);
    EXPECT_EQ(container->Parent(), row.get());
    EXPECT_FALSE(Switch::IsOn(*container));

    container->SetRect(Rect{300, 24, 156, 52});
    GObject& strip = Strip(container);
    EXPECT_EQ(strip.Bounds(), (Rect{0, 0, 234, 52}));
    // Thirds of 78: the on face over the left two, the off face over the right two.
    EXPECT_EQ(strip.ChildAt(Switch::kOnFace)->Bounds(), (Rect{0, 0, 156, 52}));
    EXPECT_EQ(strip.ChildAt(Switch::kOffFace)->Bounds(), (Rect{78, 0, 156, 52}));
    EXPECT_EQ(strip.ChildAt(Switch::kToggler)->Bounds(), (Rect{78, 0, 78, 52}));

    std::vector<int> xs;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(FaceShown(container, Switch::kOnFace));  // both while sliding
        Frames(1);
        xs.push_back(strip.X());
    }
    EXPECT_EQ(xs, (std::vector<int>{-8, -27, -50, -69, -78}));
    EXPECT_FALSE(FaceShown(container, Switch::kOnFace));
    EXPECT_TRUE(FaceShown(container, Switch::kOffFace));
}

TEST_F(SwitchTest, ATapFlipsTheValueAndSlidesTheStripBack) {
    auto sw = MakeShared<Switch>();
    GObjectPtr container = sw->Create(row, u"ON", u"OFF", 8991);
    container->SetRect(Rect{300, 24, 156, 52});
    Frames(6);
    std::vector<bool> values;
    container->OnFocusableChanged().Add([&](GObjectPtr&, bool v) { values.push_back(v); });

    Tap(340, 50);  // on the toggler, which lies over the left third while off
    EXPECT_EQ(values, (std::vector<bool>{true}));
    Frames(5);
    EXPECT_EQ(Strip(container).X(), 0);
    EXPECT_TRUE(FaceShown(container, Switch::kOnFace));
    EXPECT_FALSE(FaceShown(container, Switch::kOffFace));

    Tap(310, 50);  // on the on face: the container's own handler
    EXPECT_EQ(values, (std::vector<bool>{true, false}));
    Frames(5);
    EXPECT_EQ(Strip(container).X(), -78);
}

TEST_F(SwitchTest, SettingTheValueItAlreadyHasDoesNothing) {
    auto sw = MakeShared<Switch>();
    GObjectPtr container = sw->Create(row, u"ON", u"OFF", 8991);
    container->SetRect(Rect{300, 24, 156, 52});
    Frames(6);
    ASSERT_FALSE(server->HasAnimators());
    int notifications = 0;
    container->OnFocusableChanged().Add([&](GObjectPtr&, bool) { ++notifications; });
    container->SetFocusable(false);
    EXPECT_EQ(notifications, 0);
    EXPECT_FALSE(server->HasAnimators());
    EXPECT_EQ(Strip(container).X(), -78);
}

TEST_F(SwitchTest, OffScreenTheStripIsPlacedAtOnceAndWorksWithoutItsSwitchObject) {
    GObjectPtr page = MakeShared<GObject>();
    GObjectPtr container = MakeShared<Switch>()->Create(page, u"ON", u"OFF", 7);
    container->SetRect(Rect{0, 0, 100, 40});
    EXPECT_EQ(Strip(container).X(), -50);
    EXPECT_FALSE(FaceShown(container, Switch::kOnFace));
    container->SetFocusable(true);
    EXPECT_EQ(Strip(container).X(), 0);
    EXPECT_FALSE(FaceShown(container, Switch::kOffFace));

    // On screen, the handlers still live in the nodes.
    root->AddChild(page);
    page->SetRect(Rect{0, 100, 480, 100});
    Tap(20, 120);
    EXPECT_FALSE(Switch::IsOn(*container));
}

TEST_F(SwitchTest, OnAndOffMatchTheReferences) {
    for (bool on : {true, false}) {
        auto sw = MakeShared<Switch>();
        GObjectPtr holder = MakeShared<GObject>();
        GObjectPtr container = sw->Create(holder, u"ON", u"OFF", 1);
        container->SetFocusable(on);
        container->SetRect(Rect{8, 8, 156, 52});
        holder->SetSize(172, 68);
        WMSurface picture;
        picture.Create(172, 68, false);
        picture.FillRaw(Rect{0, 0, 172, 68}, To565(RGB(0xF4F4F4)));
        holder->DrawTree(picture);
        ExpectMatchesReference(picture, on ? "switch_on" : "switch_off");
    }
}

}  // namespace
}  // namespace zentri::test
