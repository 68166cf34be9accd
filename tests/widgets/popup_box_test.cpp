// The popup box: built over the root, faded and slid in, answered by the soft keys.

#include "widgets/popup_box.h"

#include <gtest/gtest.h>

#include "tests/ui/test_nodes.h"
#include "tests/widgets/widget_art.h"
#include "ui/menu_bar.h"
#include "ui/platform/headless_window.h"
#include "ui/platform/soft_key_bar.h"
#include "widgets/label.h"

namespace zentri::test {
namespace {

class PopupBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallWidgetArt(device);
        server->Resize(480, 588);
        server->SetRoot(root);
        scene->SetRect(Rect{0, 0, 480, 588});
        scene->OnTouch().Add([this](GObjectPtr&, const Touch& t) { sceneTouches += t.type == 5; });
        root->AddChild(scene);
        menuBar.SetOwner(&window, nullptr);
        menuBar.Create(true);
        box.Attach(server.get(), &menuBar);
    }

    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            server->Tick(true, false);
    }
    void Tap(int x, int y) {
        server->DispatchTouch(Touch::kDown, x, y);
        server->DispatchTouch(Touch::kUp, x, y);
    }
    GObjectPtr Child(const GObjectPtr& parent, int id) {
        GObjectPtr child;
        if (parent) parent->FindChild(id, child);
        return child;
    }
    GObjectPtr Backdrop() { return Child(root, PopupBox::kObjectId); }
    GObjectPtr Panel() { return Child(Backdrop(), PopupBox::kPanelId); }
    std::u16string Caption() {
        auto* label = dynamic_cast<TLabel<GObject>*>(Child(Panel(), PopupBox::kCaptionId).get());
        return label ? label->Text() : u"(none)";
    }

    TempDevice device;
    shared_ptr<TestServer> server = MakeShared<TestServer>();
    GObjectPtr root = MakeShared<GObject>();
    shared_ptr<FillNode> scene = MakeShared<FillNode>(RGB(0xE8EEF4));
    int sceneTouches = 0;
    HeadlessWindow window;
    MenuBar menuBar;
    PopupBox box;
};

TEST_F(PopupBoxTest, ShowLaysTheBoxOverEverythingFadesItAndSlidesThePanelUp) {
    auto answer = box.Show(u"Question", u"Install the update?", u"Yes", u"No");
    ASSERT_TRUE(answer);
    EXPECT_TRUE(box.IsShown());
    GObjectPtr backdrop = Backdrop(), panel = Panel();
    ASSERT_TRUE(backdrop && panel);
    EXPECT_EQ(root->ChildAt(root->ChildCount() - 1), backdrop);
    EXPECT_EQ(backdrop->Bounds(), (Rect{0, 0, 480, 588}));
    EXPECT_EQ(backdrop->Transparency(), 2);
    EXPECT_EQ(panel->Bounds(), (Rect{0, 588, 480, 294}));  // just below the screen
    EXPECT_EQ(Caption(), u"Question");
    // a = U/2 = 13 at 192 dpi.
    EXPECT_EQ(Child(panel, PopupBox::kCaptionId)->Bounds(), (Rect{13, 13, 454, 39}));
    EXPECT_EQ(Child(panel, PopupBox::kMessageId)->Bounds(), (Rect{13, 65, 454, 229}));
    EXPECT_EQ(window.Bar().leftText, u"Yes");
    EXPECT_EQ(window.Bar().rightText, u"No");
    EXPECT_TRUE(window.Bar().rightEnabled);

    std::vector<int> fade, slide;
    for (int i = 0; i < 5; ++i) {
        Frames(1);
        fade.push_back(backdrop->Transparency());
        slide.push_back(panel->Y());
    }
    EXPECT_EQ(fade, (std::vector<int>{27, 52, 77, 102, 127}));
    EXPECT_EQ(slide, (std::vector<int>{511, 370, 294, 294, 294}));
    EXPECT_EQ(panel->Transparency(), 255);  // the fade darkens the backdrop alone
    Frames(1);
    EXPECT_FALSE(server->HasAnimators());
}

TEST_F(PopupBoxTest, ASecondShowReturnsNullAndLeavesTheFirstBoxAndItsSubscribers) {
    std::vector<int> answers;
    auto first = box.Show(u"Question", u"Remove it?", u"Yes", u"No");
    first->Add([&](PopupBox::PopupBoxResult r) { answers.push_back(r); });
    size_t children = root->ChildCount();

    EXPECT_FALSE(box.Show(u"Error", u"Something else", u"OK", u""));
    EXPECT_EQ(root->ChildCount(), children);
    EXPECT_EQ(Caption(), u"Question");
    EXPECT_EQ(window.Bar().rightText, u"No");
    EXPECT_TRUE(window.Bar().rightEnabled);

    box.Close(false);
    EXPECT_EQ(answers, (std::vector<int>{PopupBox::RightKey}));
    box.Close(true);  // nothing is shown: no second answer
    EXPECT_EQ(answers.size(), 1u);
}

TEST_F(PopupBoxTest, AnEmptyRightKeyIsDisabledAndTheLeftKeyAnswersAfterTheSceneIsTold) {
    std::vector<std::string> log;
    box.OnClosed().Add([&] { log.push_back(box.IsShown() ? "closed while shown" : "closed"); });
    auto answer = box.Show(u"Info", u"Done.", u"OK", u"");
    answer->Add([&](PopupBox::PopupBoxResult r) {
        log.push_back(r == PopupBox::LeftKey ? "left" : "right");
        log.push_back(Backdrop() ? "box still there" : "box gone");
        log.push_back(window.Bar().rightEnabled ? "right enabled" : "right disabled");
    });
    EXPECT_EQ(window.Bar().rightText, u"");
    EXPECT_FALSE(window.Bar().rightEnabled);
    Frames(2);  // answered in the middle of the slide

    box.Close(true);
    EXPECT_EQ(log, (std::vector<std::string>{"closed", "left", "box gone", "right enabled"}));
    EXPECT_FALSE(box.IsShown());
    Frames(6);  // the animators of the removed box end quietly
    EXPECT_FALSE(server->HasAnimators());

    auto next = box.Show(u"Info", u"Again.", u"OK", u"");
    ASSERT_TRUE(next);
    EXPECT_NE(next, answer);  // a new list for every box
}

TEST_F(PopupBoxTest, AnAnswerMayShowTheNextBox) {
    int free = 0;
    box.OnFree().Add([&] { ++free; });
    shared_ptr<PopupBox::ResultEvent> second;
    box.Show(u"Question", u"Keep the login?", u"Yes", u"No")->Add([&](PopupBox::PopupBoxResult) {
        second = box.Show(u"Info", u"Saved.", u"OK", u"");
    });
    box.Close(true);
    ASSERT_TRUE(second);
    EXPECT_TRUE(box.IsShown());
    EXPECT_EQ(Caption(), u"Info");
    int boxes = 0;
    for (size_t i = 0; i < root->ChildCount(); ++i)
        boxes += root->ChildAt(i)->Id() == PopupBox::kObjectId;
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(free, 0);  // the next box holds the screen
    box.Close(false);
    EXPECT_EQ(free, 1);
}

TEST_F(PopupBoxTest, TheSceneUnderTheBoxGetsNoTouches) {
    Tap(100, 100);
    EXPECT_EQ(sceneTouches, 1);
    box.Show(u"Question", u"Leave?", u"Yes", u"No");
    Tap(100, 100);
    Tap(100, 500);
    EXPECT_EQ(sceneTouches, 1);
    box.Close(false);
    Tap(100, 100);
    EXPECT_EQ(sceneTouches, 2);
}

TEST_F(PopupBoxTest, WithoutARootNothingIsDrawnButTheSoftKeysStillAnswer) {
    PopupBox offScreen;
    offScreen.Attach(nullptr, &menuBar);
    int answered = -1;
    offScreen.Show(u"Question", u"Update?", u"Yes", u"No")->Add([&](PopupBox::PopupBoxResult r) {
        answered = r;
    });
    EXPECT_FALSE(offScreen.Show(u"Question", u"Again?", u"Yes", u"No"));
    EXPECT_EQ(window.Bar().leftText, u"Yes");
    offScreen.Close(false);
    EXPECT_EQ(answered, PopupBox::RightKey);
}

TEST_F(PopupBoxTest, TheSettledBoxMatchesTheReference) {
    for (int i = 0; i < 6; ++i) {
        auto stripe = MakeShared<FillNode>(i % 2 ? RGB(0x4A90D9) : RGB(0xF2C14E));
        stripe->SetRect(Rect{0, 20 + i * 95, 480, 60});
        scene->AddChild(stripe);
    }
    box.Show(u"Question",
             u"A newer version of Zentri is available. Do you want to download and install it now?",
             u"Yes", u"");
    Frames(6);
    WMSurface screen;
    screen.Create(480, 640, false);
    root->DrawTree(screen);
    DrawSoftKeyBar(screen, Rect{0, 588, 480, 52}, window.Bar(), 26);
    ExpectMatchesReference(screen, "popup_box");
}

}  // namespace
}  // namespace zentri::test
