// The scroll view driven by touches and frames: taps versus drags, resistance past the ends,
// flings and their stop, spring back, the picker's snap, the keyboard and the bar.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/ui/test_nodes.h"
#include "ui/input_manager.h"
#include "ui/performance_frequency.h"
#include "ui/platform/wm_surface.h"
#include "widgets/list_layout.h"
#include "widgets/scroll_physics.h"
#include "widgets/vscroll.h"

namespace zentri::test {
namespace {

using Scroll = TVScroll<GObject>;

// A 480 x 640 screen; a scroll view of 480 x 600 at the top holding rows of 60 pixels. Base
// unit 26: the bar is 13 wide, a tap may move 26 pixels, a fling stops below 19.
struct ScrollFixture : ::testing::Test {
    void SetUp() override { PerformanceFrequency::Instance().SetSource(clock); }
    void TearDown() override { PerformanceFrequency::Instance().SetSource(nullptr); }

    void Build(int rows) {
        server.Resize(480, 640);
        server.SetRoot(root);
        root->AddChild(view);
        view->SetRect(Rect{0, 0, 480, 600});
        Scroll::ContentNode& content = view->Content();
        shared_ptr<ListLayout> layout = MakeShared<ListLayout>(60, 0);
        content.SetLayout(layout);
        layout->Suspend();
        for (int i = 0; i < rows; ++i) {
            GObjectPtr row = Make<GObject>();
            row->OnTouch().Add([this, i](GObjectPtr&, const Touch& t) {
                log.push_back(std::to_string(i) + ":" + std::to_string(t.type));
            });
            content.AddChild(row);
        }
        layout->Resume();
    }
    int Y() { return view->Content().Y(); }
    void Finger(int type, int y, int afterMs = 0) {
        clock->AdvanceMs(static_cast<uint64_t>(afterMs));
        server.DispatchTouch(type, 100, y);
    }
    // One 40 ms frame.
    void Frame() {
        clock->AdvanceMs(40);
        server.Tick(true, false);
    }
    void Settle() {
        for (int i = 0; i < 200 && server.HasAnimators(); ++i)
            Frame();
    }
    // Scrolls to y without touches and lets everything settle.
    void Place(int y) {
        view->Content().SetPosition(0, y);
        Settle();
    }

    std::shared_ptr<ManualCounter> clock = std::make_shared<ManualCounter>(1000000);
    TestServer server;
    GObjectPtr root = Make<GObject>();
    shared_ptr<Scroll> view = Make<Scroll>(26);
    Log log;
};

TEST_F(ScrollFixture, ContentFollowsTheRowsAndTheBarItsWidth) {
    Build(100);
    EXPECT_EQ(view->Content().Bounds(), (Rect{0, 0, 480, 6000}));
    EXPECT_EQ(view->Bar().Bounds(), (Rect{467, 0, 13, 60}));
    EXPECT_EQ(view->Bar().Transparency(), 0);  // hidden at rest
}

TEST_F(ScrollFixture, ATapReachesTheRowAndADragDoesNot) {
    Build(100);
    Finger(Touch::kDown, 130);
    Finger(Touch::kMove, 150, 40);  // within twice the bar's width
    Finger(Touch::kUp, 150, 40);
    EXPECT_EQ(log, (Log{"2:0", "2:2", "2:1", "2:5"}));
    EXPECT_EQ(Y(), 0);

    log.clear();
    Finger(Touch::kDown, 330);
    Finger(Touch::kMove, 300, 40);  // 30 pixels: the content takes over and follows
    EXPECT_EQ(Y(), -30);
    GObjectPtr row = view->Content().ChildAt(5);
    EXPECT_FALSE(row->IsPressed());
    Finger(Touch::kMove, 250, 40);
    Finger(Touch::kUp, 250, 2000);  // slow: no fling
    EXPECT_EQ(log, (Log{"5:0"}));
    EXPECT_EQ(Y(), -80);

    // The drag let the touch go: the next tap reaches the row under the finger.
    log.clear();
    Finger(Touch::kDown, 100);
    Finger(Touch::kUp, 100);
    EXPECT_EQ(log, (Log{"3:0", "3:1", "3:5"}));
}

TEST_F(ScrollFixture, PastTheTopTheContentMovesAtHalfSpeedAndSpringsBack) {
    Build(100);
    Finger(Touch::kDown, 100);
    Finger(Touch::kMove, 140, 40);  // from the top edge: the whole way
    EXPECT_EQ(Y(), 40);
    Finger(Touch::kMove, 160, 40);
    EXPECT_EQ(Y(), 50);
    Finger(Touch::kMove, 200, 40);
    EXPECT_EQ(Y(), 70);
    Finger(Touch::kUp, 200, 40);
    std::vector<int> seen;
    for (int i = 0; i < 16; ++i) {
        Frame();
        seen.push_back(Y());
    }
    EXPECT_EQ(seen, (std::vector<int>{63, 40, 17, 2, -5, -6, -5, -2, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(view->Restore());  // in range
}

TEST_F(ScrollFixture, ASlowReleaseDoesNotFling) {
    Build(100);
    Place(-3000);
    Finger(Touch::kDown, 300);
    Finger(Touch::kMove, 270, 40);
    Finger(Touch::kMove, 260, 1000);
    Finger(Touch::kUp, 260, 1000);  // 40 pixels in 2 s: 1 pixel per 50 ms
    EXPECT_EQ(Y(), -3040);
    EXPECT_FALSE(view->Content().Moving());
    Settle();
    EXPECT_EQ(Y(), -3040);
}

TEST_F(ScrollFixture, AFlickFlingsWithTheDecayAndItsLimit) {
    Build(1000);
    Place(-20000);
    Finger(Touch::kDown, 500);
    Finger(Touch::kMove, 400, 10);
    Finger(Touch::kMove, 300, 10);
    Finger(Touch::kUp, 300, 10);  // 200 pixels in 20 ms: 500 pixels per 50 ms
    const std::vector<int> expected = scroll::FlingPositions(-20200, 60000, 600, -500, 19);
    ASSERT_GT(expected.size(), 3u);
    Frame();
    EXPECT_EQ(Y(), expected[1]);
    Frame();
    EXPECT_EQ(Y(), expected[2]);
    EXPECT_EQ(view->FlingSpeed(), expected[1] - expected[2]);
    Settle();
    EXPECT_EQ(Y(), expected.back());

    // Faster than twice the viewport per 50 ms: limited to 1200.
    Finger(Touch::kDown, 500);
    Finger(Touch::kMove, 300, 5);
    Finger(Touch::kMove, 100, 5);
    const int start = Y();
    Finger(Touch::kUp, 100, 5);
    const std::vector<int> limited = scroll::FlingPositions(start, 60000, 600, -1200, 19);
    Frame();
    EXPECT_EQ(Y(), limited[1]);
}

TEST_F(ScrollFixture, ADownDuringAFastFlingStopsItAndNeverReachesTheRows) {
    Build(1000);
    Place(-20000);
    Finger(Touch::kDown, 500);
    Finger(Touch::kMove, 400, 10);
    Finger(Touch::kMove, 300, 10);
    Finger(Touch::kUp, 300, 10);
    Frame();
    Frame();
    ASSERT_GT(view->FlingSpeed(), view->TapSlop());
    log.clear();
    Finger(Touch::kDown, 130);
    const int stopped = Y();
    Frame();
    Frame();
    EXPECT_EQ(Y(), stopped);
    Finger(Touch::kUp, 130, 40);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(server.CurrentTouch().capture);

    // The next tap is an ordinary one again.
    Finger(Touch::kDown, 130);
    Finger(Touch::kUp, 130);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(ScrollFixture, APickerCentresItsItemAndSnapsToTheNearestSlot) {
    Build(10);
    view->SetSnap(true, 60);
    view->SetSnapItem(3);
    EXPECT_EQ(Y(), 270 - 180);
    EXPECT_EQ(view->CentredItem(), 3);

    Finger(Touch::kDown, 300);
    Finger(Touch::kMove, 200, 40);  // above its top end: half of the 100 pixels
    EXPECT_EQ(Y(), 40);
    Finger(Touch::kUp, 200, 2000);
    Frame();
    EXPECT_EQ(Y(), 35);
    Frame();
    EXPECT_EQ(Y(), 30);
    EXPECT_EQ(view->CentredItem(), 4);
}

TEST_F(ScrollFixture, TheBarShowsWhileTheContentMovesAndFadesAfter) {
    Build(100);
    Place(-3000);
    EXPECT_EQ(view->Bar().Bounds(), (Rect{467, 300, 13, 60}));
    Finger(Touch::kDown, 300);
    Finger(Touch::kMove, 250, 40);
    EXPECT_EQ(view->Bar().Transparency(), 255);
    Finger(Touch::kUp, 250, 2000);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(view->Bar().Transparency(), 0);
}

TEST_F(ScrollFixture, AnEditIsCentredAboveTheKeyboardUnderTheView) {
    Build(100);
    InputManager& input = InputManager::Instance();
    auto keyboard = [](Rect& r) { r = Rect{0, 400, 480, 240}; };
    input.OnQueryCustomKeyboard().Add(keyboard);
    Place(-300);
    input.Show(600, 50, true);  // an edit at 900 in the content, on the screen at 600
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_EQ(Y(), (600 - 240 - 50) / 2 - 900);
    input.Hide();
    input.OnQueryCustomKeyboard().Clear();

    // A keyboard whose centre lies outside the view leaves it alone.
    view->SetRect(Rect{480, 0, 480, 600});
    input.OnQueryCustomKeyboard().Add(keyboard);
    const int before = Y();
    input.Show(100, 50, true);
    Settle();
    EXPECT_EQ(Y(), before);
    input.Hide();
    input.OnQueryCustomKeyboard().Clear();
}

TEST_F(ScrollFixture, TheContentReturnsIntoRangeWhenTheKeyboardHides) {
    Build(12);  // 720 high in a viewport of 600
    InputManager& input = InputManager::Instance();
    input.OnQueryCustomKeyboard().Add([](Rect& r) { r = Rect{0, 400, 480, 240}; });
    input.Show(680, 50, true);  // the last row's edit
    Settle();
    EXPECT_EQ(Y(), 155 - 680);  // centred above the keyboard, past the content's end
    input.Hide();
    Settle();
    EXPECT_EQ(Y(), 600 - 720);
    input.OnQueryCustomKeyboard().Clear();
}

TEST(ScrollDrawer, DrawsABarWithRoundedEnds) {
    auto bar = MakeShared<TScrollDrawer<GObject>>();
    bar->SetSize(13, 40);
    WMSurface surface;
    surface.Create(20, 50, false);
    surface.FillRaw(Rect{0, 0, 20, 50}, 0xFFFF);
    bar->DrawTree(surface);
    const uint16_t white = 0xFFFF;
    auto painted = [&](int x, int y) {
        return surface.pixels[static_cast<size_t>(y) * 20 + x] != white;
    };
    // Outer columns inset by two, the next by one, the rest full height.
    EXPECT_FALSE(painted(0, 1));
    EXPECT_TRUE(painted(0, 2));
    EXPECT_FALSE(painted(1, 0));
    EXPECT_TRUE(painted(1, 1));
    EXPECT_TRUE(painted(2, 0));
    EXPECT_TRUE(painted(12, 37));
    EXPECT_FALSE(painted(12, 38));
    EXPECT_FALSE(painted(13, 10));
    EXPECT_FALSE(painted(5, 40));

    // A narrow bar only insets its outer columns by one.
    bar->SetSize(7, 40);
    surface.FillRaw(Rect{0, 0, 20, 50}, 0xFFFF);
    bar->DrawTree(surface);
    EXPECT_FALSE(painted(0, 0));
    EXPECT_TRUE(painted(0, 1));
    EXPECT_TRUE(painted(1, 0));
}

}  // namespace
}  // namespace zentri::test
