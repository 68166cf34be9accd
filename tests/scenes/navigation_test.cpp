// The scene stack: slides, back moves, the home and login targets and the soft keys while a
// popup box is open, on an application whose frames the test steps.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/loading.h"
#include "scenes/scene.h"
#include "tests/support/temp_device.h"
#include "ui/menu_bar.h"
#include "widgets/animated_image.h"
#include "widgets/image.h"

namespace zentri::test {
namespace {

using Log = std::vector<std::string>;

// Writes every call the navigation makes into a shared log, prefixed with its name.
class Probe : public Scene {
  public:
    Probe(std::string name, Log* log) : name(std::move(name)), log(log) {}
    ~Probe() override { Note("destroyed"); }
    void Build(GObjectPtr& page) override { AddHeader(page, u"title", true, u"crumb"); }
    void Activate(GObjectPtr& page) override {
        Scene::Activate(page);
        Note("Activate");
    }
    void Deactivate(GObjectPtr&) override { Note("Deactivate"); }
    void Removed(GObjectPtr&) override { Note("Removed"); }
    void OnLeave() override { Note("OnLeave"); }
    void OnShown() override { Note("OnShown"); }
    void OnPopupClosed() override { Note("OnPopupClosed"); }
    void OnLeftSoftKey() override { Note("OnLeftSoftKey"); }
    bool HasHomeIcon() const {
        GObjectPtr header, home;
        return Page()->FindChild(kHeaderId, header) && header->FindChild(kHomeId, home);
    }

  private:
    void Note(const char* what) { log->push_back(name + "." + what); }
    std::string name;
    Log* log;
};

class Navigation : public ::testing::Test {
  protected:
    Navigation() {
        app.Server().Resize(240, 320);
        app.BuildShell();
    }
    shared_ptr<Probe> Push(const std::string& name) {
        shared_ptr<Probe> scene(new Probe(name, &log));
        app.PushScene(scene);
        return scene;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            app.Timer(WindowsMobileUIServer::kTimerId);  // one 40 ms frame
    }
    int PageX(size_t index) { return app.SceneContainer()->ChildAt(index)->X(); }

    Log log;  // outlives the scenes, which write into it when destroyed
    TempDevice device;
    KestroApp app;
};

TEST_F(Navigation, PushSlidesInAndBackDestroysTheSceneOnlyAfterItsSlide) {
    Push("a");
    EXPECT_EQ(PageX(0), 0);  // the first scene comes without a slide
    EXPECT_TRUE(app.SceneContainer()->IsTouchable());
    Push("b");
    EXPECT_EQ(PageX(1), 240);
    EXPECT_FALSE(app.SceneContainer()->IsTouchable());
    Frames(KestroApp::kSlideSteps);
    EXPECT_EQ(PageX(0), -240);
    EXPECT_EQ(PageX(1), 0);
    EXPECT_TRUE(app.SceneContainer()->IsTouchable());
    EXPECT_EQ(log, (Log{"a.Activate", "a.Deactivate", "b.Activate", "b.OnShown"}));

    log.clear();
    app.GoBack();
    EXPECT_EQ(log, (Log{"b.OnLeave"}));
    Frames(KestroApp::kSlideSteps - 1);
    EXPECT_EQ(app.SceneStack().size(), 2u);  // still sliding
    Frames(1);
    EXPECT_EQ(PageX(0), 0);
    EXPECT_EQ(app.SceneStack().size(), 1u);
    Frames(1);  // the popped scene is let go on the next frame
    EXPECT_EQ(log, (Log{"b.OnLeave", "b.Deactivate", "b.Removed", "a.Activate", "b.destroyed"}));
}

TEST_F(Navigation, HomeFromThreeLevelsPopsEachSceneAtOnceAndNeverTheLast) {
    shared_ptr<Probe> home = Push("home");
    app.homeScene = home.get();
    Push("x");
    Push("y");
    Push("z");
    Frames(KestroApp::kSlideSteps);
    EXPECT_TRUE(static_cast<Probe*>(app.TopScene())->HasHomeIcon());
    log.clear();
    app.PopToHome();
    EXPECT_EQ(log, (Log{"z.OnLeave", "z.Deactivate", "z.Removed", "y.Activate", "y.OnLeave",
                        "y.Deactivate", "y.Removed", "x.Activate", "x.OnLeave", "x.Deactivate",
                        "x.Removed", "home.Activate"}));
    EXPECT_EQ(app.TopScene(), home.get());
    EXPECT_EQ(PageX(0), 0);

    // A home that has left the stack is no target, and no header offers it any more.
    app.loginScene = home.get();
    Push("w");
    app.PopImmediately();
    app.homeScene = nullptr;
    shared_ptr<Probe> stale(new Probe("stale", &log));
    app.homeScene = stale.get();
    Push("v");
    EXPECT_FALSE(static_cast<Probe*>(app.TopScene())->HasHomeIcon());
    app.PopToHome();
    EXPECT_EQ(app.SceneStack().size(), 2u);
    app.PopToLogin();
    app.PopToLogin();
    app.PopImmediately();
    EXPECT_EQ(app.SceneStack().size(), 1u);
}

TEST_F(Navigation, SoftKeysAnswerAnOpenPopupBoxAndTheSceneGetsItsKeysBack) {
    Push("a");
    int answers = 0;
    auto answer = app.ShowPopup(u"caption", u"text", u"OK", u"");
    ASSERT_TRUE(answer);
    answer->Add([&](PopupBox::PopupBoxResult r) { answers += r == PopupBox::LeftKey; });
    log.clear();
    app.OnCommand(MenuBar::kLeftCommand);
    EXPECT_EQ(answers, 1);
    EXPECT_EQ(log, (Log{"a.OnPopupClosed", "a.Activate"}));
    app.OnCommand(MenuBar::kLeftCommand);  // no box any more: the scene's own key
    EXPECT_EQ(log.back(), "a.OnLeftSoftKey");
}

}  // namespace
}  // namespace zentri::test

namespace zentri::test {
namespace {

TEST_F(Navigation, LoadingStripStaysWhileAnyRequestRunsAboveEveryPage) {
    Push("a");
    GObjectPtr layer = Loading::Instance().BuildLayer();
    app.Server().Root()->AddChild(layer);
    const GObjectPtr& strip = Loading::Instance().Strip();
    auto* spinner =
        static_cast<TAnimatedImage<TImage<GObject>>*>(Loading::Instance().Spinner().get());
    Loading::Instance().Show(true);
    Loading::Instance().Show(true);
    Frames(5);
    EXPECT_NE(spinner->CurrentState(), 0);
    Loading::Instance().Show(false);
    EXPECT_TRUE(strip->IsVisible());
    EXPECT_EQ(spinner->CurrentState(), 0);  // restarted
    EXPECT_TRUE(spinner->IsVisible());
    Loading::Instance().Show(false);
    EXPECT_FALSE(strip->IsVisible());
    EXPECT_FALSE(spinner->IsVisible());
    // The layer lies above the scene container, and the band sits across the bottom.
    EXPECT_EQ(app.Server().Root()->ChildAt(app.Server().Root()->ChildCount() - 1), layer);
    EXPECT_EQ(strip->Y() + strip->Height(), 320);
}

}  // namespace
}  // namespace zentri::test
