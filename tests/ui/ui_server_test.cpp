#include <gtest/gtest.h>

#include "tests/ui/test_nodes.h"
#include "ui/input_manager.h"
#include "ui/key_table.h"

namespace zentri::test {
namespace {

TEST(UIServer, OneInvalidationGivesOnePaintAndStopsTheTimerAtThatTick) {
    TestServer server;
    server.Resize(100, 100);
    server.Tick(true, false);  // the resize's tick: no animators, the timer stops
    server.Tick(false, true);  // and its paint
    ASSERT_EQ(server.paints.size(), 1u);
    EXPECT_EQ(server.starts, 1);
    EXPECT_EQ(server.stops, 1);

    server.Invalidate(Rect{10, 10, 5, 5});
    server.Invalidate(Rect{90, 90, 20, 20});  // coalesced, and cut to the screen
    EXPECT_EQ(server.starts, 2);
    server.Tick(true, false);  // the frame tick 40 ms later
    EXPECT_EQ(server.stops, 2);
    EXPECT_FALSE(server.TimerRunning());
    EXPECT_EQ(server.paints.size(), 1u);
    server.Tick(false, true);  // the paint the tick asked for
    ASSERT_EQ(server.paints.size(), 2u);
    EXPECT_EQ(server.paints[1], (Rect{10, 10, 90, 90}));
    EXPECT_TRUE(server.Dirty().IsEmpty());
    server.Tick(false, true);
    EXPECT_EQ(server.paints.size(), 2u);

    // While painting is suspended the area waits.
    server.SetPaintSuspended(true);
    server.Invalidate(Rect{0, 0, 1, 1});
    server.Tick(false, true);
    EXPECT_EQ(server.paints.size(), 2u);
    server.SetPaintSuspended(false);
    server.Tick(false, true);
    EXPECT_EQ(server.paints.size(), 3u);
}

TEST(UIServer, SetRootGivesItTheScreenTheServerAndTheFocus) {
    TestServer server;
    server.Resize(120, 80);
    auto root = Make<GObject>();
    auto child = Make<GObject>();
    root->AddChild(child);
    server.SetRoot(root);
    EXPECT_EQ(root->Id(), 0);
    EXPECT_EQ(root->Bounds(), (Rect{0, 0, 120, 80}));
    EXPECT_EQ(child->Server(), &server);
    EXPECT_TRUE(root->IsFocused());
    EXPECT_EQ(server.Focus(), root);
}

TEST(UIServer, NodesOutlivingTheServerForgetIt) {
    auto node = Make<GObject>();
    {
        TestServer server;
        server.Resize(10, 10);
        auto root = Make<GObject>();
        root->AddChild(node);
        server.SetRoot(root);
    }
    EXPECT_EQ(node->Server(), nullptr);
    node->SetSize(5, 5);  // invalidates nothing, touches no dead server
}

TEST(KeyTable, MapsTheHandsetKeysAndIgnoresOthers) {
    const int table[][2] = {{13, 0},  {37, 1},  {38, 2},  {39, 3},  {40, 4},
                            {112, 5}, {113, 6}, {114, 7}, {115, 8}, {46, 9}};
    for (const auto& row : table)
        EXPECT_EQ(KeyCodeForVirtualKey(row[0]), row[1]) << row[0];
    for (int other : {8, 9, 27, 65, 116, 0, -1})
        EXPECT_EQ(KeyCodeForVirtualKey(other), -1) << other;
}

TEST(InputManager, ShowAndHideFireOnceEach) {
    InputManager& im = InputManager::Instance();
    im.Hide();
    int shown = 0, hidden = 0, queried = 0, customHidden = 0;
    Rect lastRect{1, 1, 1, 1};
    auto onShown = MakeShared<FnDelegate<int, int, const Rect&>>([&](int y, int h, const Rect& r) {
        ++shown;
        EXPECT_EQ(y, 30);
        EXPECT_EQ(h, 20);
        lastRect = r;
    });
    auto onHidden = MakeShared<FnDelegate<>>([&] { ++hidden; });
    auto onQuery = MakeShared<FnDelegate<Rect&>>([&](Rect& r) {
        ++queried;
        r = Rect{0, 100, 50, 40};
    });
    auto onHideCustom = MakeShared<FnDelegate<>>([&] { ++customHidden; });
    im.OnKeyboardShown().Add(onShown);
    im.OnKeyboardHidden().Add(onHidden);
    im.OnQueryCustomKeyboard().Add(onQuery);
    im.OnHideCustomKeyboard().Add(onHideCustom);

    im.Show(30, 20, false);
    im.Show(30, 20, false);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(lastRect.h, InputManager::kPanelHeight);  // the host keyboard: a panel of height 0
    im.Hide();
    im.Hide();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(customHidden, 0);

    im.Show(30, 20, true);
    EXPECT_EQ(queried, 1);
    EXPECT_EQ(lastRect, (Rect{0, 100, 50, 40}));
    // Clearing the focus hides the keyboard.
    TestServer server;
    server.SetFocus(nullptr);
    EXPECT_FALSE(im.IsShown());
    EXPECT_EQ(customHidden, 1);
    EXPECT_EQ(hidden, 2);

    im.OnKeyboardShown().Remove(*onShown);
    im.OnKeyboardHidden().Remove(*onHidden);
    im.OnQueryCustomKeyboard().Remove(*onQuery);
    im.OnHideCustomKeyboard().Remove(*onHideCustom);
}

}  // namespace
}  // namespace zentri::test
