// Rating without stars is refused before anything is sent, and the comment entry makes way for
// the message and comes back after it.

#include "scenes/make_review_scene.h"

#include <gtest/gtest.h>

#include "net/inet_manager.h"
#include "tests/scenes/pages_support.h"
#include "ui/touch.h"

namespace zentri::test {
namespace {

class MakeReview : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadProgramTexts(device);
        Kestro::Instance().SetSessionId(u"s1");
        app.Server().Resize(480, 640);
        app.BuildShell();
        app.PushScene(scene);
        scene->OnShown();
    }
    void TearDown() override { InetManager::Instance().Shutdown(); }

    TempDevice device;
    RecordingApp app;
    shared_ptr<MakeReviewScene> scene{new MakeReviewScene(u"Notes", 2)};
};

TEST_F(MakeReview, WithoutStarsNothingIsSentAndTheEntryComesBackAfterTheMessage) {
    ASSERT_TRUE(scene->EditWindow());
    EXPECT_TRUE(scene->EditWindow()->IsVisible());
    scene->Stars().SetRating(1);  // half a star is no rating
    scene->OnRightSoftKey();
    ASSERT_EQ(app.popups.size(), 1u);
    EXPECT_EQ(app.popups[0], Text(10005));
    EXPECT_FALSE(scene->EditWindow()->IsVisible());
    EXPECT_TRUE(app.Server().Root()->IsTouchable());  // no request made the program busy
    scene->OnPopupClosed();
    EXPECT_TRUE(scene->EditWindow()->IsVisible());
}

TEST_F(MakeReview, TheEntryTakesLineBreaksAndGoesWithThePage) {
    const shared_ptr<ReviewEditBox> box = scene->EditWindow();
    box->SetFocused(true);
    for (char16_t c : std::u16string(u"ab"))
        box->DispatchKey(Key{Key::kCharacter, c});
    box->DispatchKey(Key{Key::kEnter, 0});
    box->DispatchKey(Key{Key::kCharacter, u'\r'});  // Enter's character: not a second break
    box->DispatchKey(Key{Key::kCharacter, u'c'});
    box->DispatchKey(Key{Key::kCharacter, 8});  // backspace
    box->DispatchKey(Key{Key::kCharacter, u'd'});
    EXPECT_EQ(box->Text(), u"ab\nd");
    scene->OnLeave();
    EXPECT_FALSE(scene->EditWindow());
    size_t index = 0;
    EXPECT_FALSE(scene->Page()->IndexOf(box.get(), index));
}

}  // namespace
}  // namespace zentri::test
