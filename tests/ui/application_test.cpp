// The application loop end to end: a small application driven headless by a script.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_device.h"
#include "tests/ui/test_nodes.h"
#include "ui/application.h"
#include "ui/automation_tree.h"
#include "ui/input_manager.h"
#include "ui/pending_work.h"
#include "ui/performance_frequency.h"
#include "ui/platform/platform_window.h"
#include "ui/platform/single_instance.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {
namespace {

// What the application saw; it outlives the application, which deletes itself.
struct Seen {
    std::vector<int> buttonTouches;
    std::vector<int> commands;
    std::vector<std::pair<int, int>> editKeys;  // code, character
    std::vector<bool> editFocus;
    std::vector<uint32_t> invalidatedAt;
    std::vector<uint32_t> paintedAt;
    std::vector<std::pair<int, int>> sizes;
    std::vector<std::pair<uint32_t, bool>> ticks;  // time, timer still running after it
    bool started = false;
    bool destroyed = false;
    bool narrowWindow = false;
    bool throwOnTap = false;
    bool closeOnTap = false;
    bool rightDisabled = false;
    bool completed = false;
    bool completedBeforeQuit = false;
    bool showKeyboard = false;
    bool texts = false;  // adds the text nodes below
    int rowClicks = 0;
    Rect keyboard{-1, -1, -1, -1};  // the rectangle onKeyboardShown passed
};

// The pixel that opaque fills of the colours give over white, in that order.
uint16_t Filled(std::initializer_list<Color> colors) {
    WMSurface pixel;
    pixel.Create(1, 1, false);
    for (Color c : colors)
        pixel.FillRect(0, 0, 1, 1, c, 255);
    return pixel.Pixel(0, 0);
}

// Records when the part of the screen it covers is painted.
class PaintProbe : public FillNode {
  public:
    explicit PaintProbe(Seen* seen) : FillNode(Color{0, 128, 0}), seen(seen) {}
    void Draw(Surface& s) override {
        FillNode::Draw(s);
        seen->paintedAt.push_back(PerformanceFrequency::Instance().TickCount());
    }
    Seen* seen;
};

// A node that draws a text, as far as the automation can tell; an edit box if asked.
class TextNode : public FillNode {
  public:
    TextNode(std::u16string text, bool edit) : FillNode(Color{0, 0, 0}), text(text), edit(edit) {}
    std::u16string_view AutomationText() const override { return text; }
    bool IsEditBox() const override { return edit; }
    std::u16string text;
    bool edit;
};

// A node drawn black in shots and white otherwise, as a blinking caret would be.
class BlinkNode : public GObject {
  public:
    void Draw(Surface& s) override {
        s.FillRect(0, 0, Width(), Height(),
                   FixedPhaseDrawing() ? Color{0, 0, 0} : Color{255, 255, 255}, 255);
    }
};

// A screen of 480 x 640 with a bar of 2U = 52 pixels (192 dpi): the program's area is
// 480 x 588. A red button at (10, 10, 100, 50), an edit field at (10, 100, 200, 40), a probe
// at (300, 300, 20, 20) that repaints itself when tapped.
class TestApp : public Application {
  public:
    explicit TestApp(Seen* seen) : seen(seen) {}

    void OnCreate(const CreateInfo&) override {
        menuBar.Create(true);
        menuBar.SetLeftText(u"Back");
        menuBar.SetRightText(u"Menu");
    }

    bool OnStart() override {
        seen->started = true;
        auto root = Make<GObject>();
        root->SetFocusable(true);
        auto button = Make<FillNode>(Color{255, 0, 0});
        button->SetRect(Rect{10, 10, 100, 50});
        button->OnTouch().Add([this](GObjectPtr&, const Touch& t) {
            seen->buttonTouches.push_back(t.type);
            if (t.type == Touch::kClick && seen->throwOnTap) throw std::runtime_error("boom");
            if (t.type == Touch::kClick && seen->closeOnTap) window->PostClose();
        });
        root->AddChild(button);
        auto edit = Make<FillNode>(Color{0, 0, 255});
        edit->SetRect(Rect{10, 100, 200, 40});
        edit->SetFocusable(true);
        edit->OnTouch().Add([](GObjectPtr&, const Touch&) {});
        edit->OnKey().Add([this](GObjectPtr&, const Key& k) {
            seen->editKeys.emplace_back(k.code, k.character);
        });
        edit->OnFocusChanged().Add([this](GObjectPtr&, bool f) { seen->editFocus.push_back(f); });
        root->AddChild(edit);
        auto probe = Make<PaintProbe>(seen);
        probe->SetRect(Rect{300, 300, 20, 20});
        probe->SetClearsFocus(false);
        probe->OnTouch().Add([this](GObjectPtr& self, const Touch& t) {
            if (t.type != Touch::kClick) return;
            seen->invalidatedAt.push_back(PerformanceFrequency::Instance().TickCount());
            self->Invalidate();
        });
        root->AddChild(probe);
        if (seen->texts) AddTexts(*root);
        server.SetRoot(root);
        if (seen->narrowWindow) window->SetProgramArea(470, 500);
        if (seen->rightDisabled) menuBar.SetRightEnabled(false);
        if (seen->showKeyboard) ShowKeyboardOnce();
        return true;
    }

    void Resized(int w, int h) override {
        seen->sizes.emplace_back(w, h);
        Application::Resized(w, h);
    }
    void OnCommand(int vk) override {
        seen->commands.push_back(vk);
        Application::OnCommand(vk);
    }
    void OnDestroy() override {
        seen->destroyed = true;
        seen->completedBeforeQuit = seen->completed;
    }
    void Timer(int id) override {
        Application::Timer(id);
        seen->ticks.emplace_back(PerformanceFrequency::Instance().TickCount(),
                                 server.TimerRunning());
    }

    // A row "Games(12)" at (10, 200, 200, 30) that adds "Tapped" when clicked, a hidden
    // "Hidden", two edit boxes below each other (the lower one added first), a row that lies
    // off screen, and a blinking node at (400, 10, 20, 20).
    void AddTexts(GObject& root) {
        auto text = [&](const char16_t* t, Rect r, bool edit = false) {
            auto node = Make<TextNode>(t, edit);
            node->SetRect(r);
            root.AddChild(node);
            return node;
        };
        auto row = text(u"Games(12)", Rect{10, 200, 200, 30});
        row->OnTouch().Add([this, &root](GObjectPtr&, const Touch& t) {
            if (t.type != Touch::kClick) return;
            ++seen->rowClicks;
            auto tapped = Make<TextNode>(u"Tapped", false);
            tapped->SetRect(Rect{10, 240, 100, 20});
            root.AddChild(tapped);
        });
        text(u"Hidden", Rect{10, 270, 100, 20})->SetVisible(false);
        text(u"Lower", Rect{250, 400, 100, 30}, true);
        auto upper = text(u"", Rect{250, 350, 100, 30}, true);
        upper->SetFocusable(true);
        upper->OnTouch().Add([](GObjectPtr&, const Touch&) {});
        upper->OnKey().Add([this](GObjectPtr&, const Key& k) {
            seen->editKeys.emplace_back(k.code, k.character);
        });
        text(u"Far away", Rect{10, 2000, 100, 30});
        auto blink = Make<BlinkNode>();
        blink->SetRect(Rect{400, 10, 20, 20});
        root.AddChild(blink);
    }

    void ShowKeyboardOnce() {
        InputManager& im = InputManager::Instance();
        auto shown = MakeShared<FnDelegate<int, int, const Rect&>>(
            [this](int, int, const Rect& r) { seen->keyboard = r; });
        im.OnKeyboardShown().Add(shown);
        im.Show(100, 40, false);
        im.Hide();
        im.OnKeyboardShown().Remove(*shown);
    }

    Seen* seen;
};

class ApplicationTest : public ::testing::Test {
  protected:
    ApplicationTest() : headless_("ZENTRI_HEADLESS", "1"), dpi_("ZENTRI_DPI", "192") {}

    // Runs the application with `script`; the exit code of its loop.
    int RunScript(const std::string& script, Seen& seen) {
        std::filesystem::path file = device_.Root() / "script.txt";
        std::ofstream(file) << script;
        ScopedEnv env("ZENTRI_SCRIPT", file.c_str());
        auto* app = new TestApp(&seen);
        if (!app->Init(u"ZentriTest", nullptr)) {
            delete app;
            return -1;
        }
        return BaseApplication::Run();
    }

    TempDevice device_;
    ScopedEnv headless_;
    ScopedEnv dpi_;
};

TEST_F(ApplicationTest, TapsReachNodesAndSoftKeysReachOnCommand) {
    Seen seen;
    int code = RunScript(
        "# a tap on the button, one beside it\n"
        "tap 20 20\n"
        "\n"
        "tap 400 20\n"
        "tap 50 110\n"  // the edit field takes the focus
        "type ab\n"
        "key enter\n"
        "softkey left\n"  // clears the focus, then the key goes down from the root
        "key f2\n"
        "tap 400 600\n"  // the right half of the bar: the right soft key
        "key f3\n"
        "quit\n",
        seen);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(seen.started);
    EXPECT_TRUE(seen.destroyed);
    EXPECT_EQ(seen.buttonTouches, (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(seen.commands, (std::vector<int>{13, 112, 113, 113, 114}));
    EXPECT_EQ(seen.editKeys,
              (std::vector<std::pair<int, int>>{
                  {10, 'a'}, {10, 'b'}, {0, 0}, {10, 13}, {5, 0}, {6, 0}, {6, 0}, {7, 0}}));
    EXPECT_EQ(seen.editFocus, (std::vector<bool>{true, false}));
    EXPECT_EQ(seen.sizes.front(), (std::pair<int, int>{480, 588}));
}

TEST_F(ApplicationTest, OneRepaintFortyMillisecondsAfterOneInvalidation) {
    Seen seen;
    int code = RunScript("idle\ntap 305 305\nwait 400\nquit\n", seen);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(seen.invalidatedAt.size(), 1u);
    uint32_t at = seen.invalidatedAt[0];
    std::vector<uint32_t> after;
    for (uint32_t painted : seen.paintedAt)
        if (painted >= at) after.push_back(painted);
    EXPECT_EQ(after, (std::vector<uint32_t>{at + 40}));
    // The tick that asked for that repaint found no animator and stopped the timer.
    auto tick = std::find_if(seen.ticks.begin(), seen.ticks.end(),
                             [&](const auto& t) { return t.first > at; });
    ASSERT_NE(tick, seen.ticks.end());
    EXPECT_EQ(*tick, (std::pair<uint32_t, bool>{at + 40, false}));
}

TEST_F(ApplicationTest, ANarrowWindowIsReportedTwoPixelsNarrower) {
    Seen seen;
    seen.narrowWindow = true;
    EXPECT_EQ(RunScript("quit\n", seen), 0);
    EXPECT_EQ(seen.sizes.back(), (std::pair<int, int>{468, 500}));
}

// The platform keyboard lies along the bottom of the screen, as wide as the screen; once the
// application is gone it has no screen to cover.
TEST_F(ApplicationTest, ThePlatformKeyboardCoversTheBottomOfTheScreen) {
    Seen seen;
    seen.showKeyboard = true;
    EXPECT_EQ(RunScript("quit\n", seen), 0);
    EXPECT_EQ(seen.keyboard,
              (Rect{0, 640 - InputManager::kPanelHeight, 480, InputManager::kPanelHeight}));

    InputManager& im = InputManager::Instance();
    Rect after{-1, -1, -1, -1};
    auto shown =
        MakeShared<FnDelegate<int, int, const Rect&>>([&](int, int, const Rect& r) { after = r; });
    im.OnKeyboardShown().Add(shown);
    im.Show(0, 0, false);
    im.Hide();
    im.OnKeyboardShown().Remove(*shown);
    EXPECT_EQ(after, (Rect{}));
}

TEST_F(ApplicationTest, ScriptErrorsStopTheRunWithTheLineNumber) {
    Seen seen;
    testing::internal::CaptureStderr();
    int code = RunScript("idle\n\ntap 10\nquit\n", seen);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.find("line 3"), std::string::npos) << err;
    EXPECT_TRUE(seen.destroyed);
    EXPECT_TRUE(seen.buttonTouches.empty());

    Seen missing;
    testing::internal::CaptureStderr();
    {
        ScopedEnv none("ZENTRI_SCRIPT", "/nonexistent/zentri-script");
        auto* app = new TestApp(&missing);
        ASSERT_TRUE(app->Init(u"ZentriTest", nullptr));
        code = BaseApplication::Run();
    }
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.find("cannot read"), std::string::npos) << err;
}

TEST_F(ApplicationTest, AnExceptionInAHandlerIsShownAndClosesTheWindow) {
    Seen seen;
    seen.throwOnTap = true;
    testing::internal::CaptureStderr();
    int code = RunScript("tap 20 20\nwait 1000\ntap 20 20\nquit\n", seen);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 2);  // a scripted run that met an error has failed
    EXPECT_NE(err.find("Error: boom"), std::string::npos) << err;
    EXPECT_NE(err.find("script line 1"), std::string::npos) << err;
    EXPECT_TRUE(seen.destroyed);
    EXPECT_EQ(seen.buttonTouches, (std::vector<int>{0, 1, 5}));  // nothing after the close
}

// `shot` saves the whole screen: the program's area and the soft-key bar with its labels.
TEST_F(ApplicationTest, ShotSavesTheScreenWithTheSoftKeyBar) {
    Seen seen;
    seen.rightDisabled = true;
    std::filesystem::path shot = device_.Root() / "shots" / "screen.png";
    std::filesystem::create_directories(shot.parent_path());
    int code =
        RunScript("idle\nsoftkey right\ntap 400 600\nshot " + shot.string() + "\nquit\n", seen);
    ASSERT_EQ(code, 0);
    EXPECT_TRUE(seen.commands.empty());  // the greyed right key does nothing

    WMSurface image;
    ASSERT_TRUE(image.LoadFile(u"\\shots\\screen.png"));
    ASSERT_EQ(image.width, 480);
    ASSERT_EQ(image.height, 640);
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(image.Pixel(20, 20), 0xF800);  // the red button
    EXPECT_EQ(image.Pixel(305, 305), Filled({Color{0, 128, 0}}));
    EXPECT_EQ(image.Pixel(400, 400), 0xFFFF);  // the cleared background
    uint16_t bar = image.Pixel(2, 630);
    EXPECT_LT(bar >> 11, 8);  // a dark bar below the area
    EXPECT_EQ(image.Pixel(478, 630), bar);
    EXPECT_NE(image.Pixel(2, 587), bar);  // the area ends at 588
    auto brightest = [&](int x0, int x1) {
        int best = 0;
        for (int y = 589; y < 640; ++y)
            for (int x = x0; x < x1; ++x)
                best = std::max(best, image.Pixel(x, y) >> 11);
        return best;
    };
    EXPECT_GE(brightest(13, 227), 28);  // "Back" in white
    int greyed = brightest(253, 467);   // "Menu" greyed
    EXPECT_GT(greyed, bar >> 11);
    EXPECT_LE(greyed, 16);

    // A shot that cannot be written (its folder would be inside a file) stops the run.
    Seen failing;
    std::filesystem::path blocker = device_.Root() / "blocker";
    std::ofstream(blocker) << "a file";
    testing::internal::CaptureStderr();
    code = RunScript("shot " + (blocker / "x.png").string() + "\nquit\n", failing);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.find("line 1: cannot write"), std::string::npos) << err;
}

// `idle` waits for background work that other modules report, such as a transfer whose
// completion runs on its own thread under appLock.
TEST_F(ApplicationTest, TextCommandsFindNodesByWhatTheyDraw) {
    Seen seen;
    seen.texts = true;
    std::filesystem::path dump = device_.Root() / "tree.txt";
    std::filesystem::path shot = device_.Root() / "blink.png";
    int code = RunScript(
        "expect-text Games(*\nexpect-no-text Hidden\nexpect-no-text Far away\n"
        "tap-text Games(12)\nwait-text Tapped 1000\nexpect-text Tapped\n"
        "tap-edit 1\ntype ab\nidle\nshot " +
            shot.string() + "\ndump " + dump.string() + "\nquit\n",
        seen);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(seen.rowClicks, 1);
    EXPECT_EQ(seen.editKeys,
              (std::vector<std::pair<int, int>>{{Key::kCharacter, 'a'}, {Key::kCharacter, 'b'}}));
    std::ifstream in(dump);
    std::string tree((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(tree.find("  1 test::TextNode id=-1 10,200,200,30 \"Games(12)\"\n"), std::string::npos)
        << tree;
    EXPECT_NE(tree.find("250,400,100,30 edit \"Lower\""), std::string::npos) << tree;
    EXPECT_EQ(tree.find("Hidden"), std::string::npos);
    EXPECT_EQ(tree.find("Far away"), std::string::npos);

    // The shot shows the fixed phase of an endless animation; the screen goes on without it.
    WMSurface image;
    ASSERT_TRUE(image.LoadFile(u"\\blink.png"));
    EXPECT_EQ(image.Pixel(405, 15), 0x0000);
}

TEST_F(ApplicationTest, FailedChecksAndWaitsEndTheRunWithTheirLine) {
    for (const char* last : {"expect-text Nowhere", "expect-no-text Games(*", "tap-text Nowhere",
                             "tap-edit 3", "wait-text Nowhere 50", "tap 305 305\nidle 0"}) {
        Seen seen;
        seen.texts = true;
        testing::internal::CaptureStderr();
        int code = RunScript(std::string("idle\n") + last + "\nquit\n", seen);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 2) << last;
        EXPECT_NE(err.find(strchr(last, '\n') ? "line 3" : "line 2"), std::string::npos)
            << last << ": " << err;
    }
}

TEST_F(ApplicationTest, IdleWaitsForPendingWork) {
    Seen seen;
    std::mutex mutex;
    std::condition_variable cv;
    bool asked = false;
    std::atomic<bool> finished{false};
    std::thread transfer([&] {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [&] { return asked; });
        lock.unlock();
        {
            std::lock_guard<AppLockType> app(AppLock());
            seen.completed = true;
        }
        finished = true;
    });
    // Pending until the transfer has reported; the first question lets it go on.
    WorkProbe probe([&] {
        std::lock_guard<std::mutex> lock(mutex);
        asked = true;
        cv.notify_all();
        return !finished;
    });
    int code = RunScript("idle 30000\nquit\n", seen);
    {
        std::lock_guard<std::mutex> lock(mutex);  // should idle never ask, the test still ends
        asked = true;
    }
    cv.notify_all();
    transfer.join();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(seen.completedBeforeQuit);
}

// The SDL window on SDL's dummy video driver: the same loop with real time, the timer
// thread and the texture.
TEST_F(ApplicationTest, RunsOnTheSdlWindowToo) {
    ScopedEnv windowed("ZENTRI_HEADLESS", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    ScopedEnv renderer("SDL_RENDER_DRIVER", "software");
    Seen seen;
    int code =
        RunScript("tap 20 20\nidle 30000\ntap 305 305\nidle 30000\nsoftkey left\nquit\n", seen);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen.buttonTouches, (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(seen.commands, (std::vector<int>{112}));
    ASSERT_EQ(seen.invalidatedAt.size(), 1u);
    EXPECT_GE(seen.paintedAt.back(), seen.invalidatedAt[0]);  // repainted after the tap
    EXPECT_FALSE(seen.ticks.empty());
    EXPECT_FALSE(seen.ticks.back().second);  // idle ended with the timer stopped
}

TEST_F(ApplicationTest, AHandlerClosesTheWindowOnceItsMessageIsDone) {
    Seen seen;
    seen.closeOnTap = true;
    EXPECT_EQ(RunScript("tap 20 20\ntap 20 20\nwait 1000\n", seen), 0);
    EXPECT_TRUE(seen.destroyed);
    EXPECT_EQ(seen.buttonTouches, (std::vector<int>{0, 1, 5}));
}

TEST_F(ApplicationTest, ASecondStartOnlyAsksTheFirstToComeToTheFront) {
    std::unique_ptr<SingleInstance> first;
    ASSERT_EQ(SingleInstance::Claim("ZentriTest", first), SingleInstance::Result::kFirst);
    std::mutex mutex;
    std::condition_variable cv;
    int activations = 0;
    first->SetActivationHandler([&] {
        std::lock_guard<std::mutex> lock(mutex);
        ++activations;
        cv.notify_all();
    });
    Seen seen;
    EXPECT_EQ(RunScript("quit\n", seen), -1);  // Init refused
    EXPECT_FALSE(seen.started);
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return activations == 1; }));
    lock.unlock();
    // Another device is another handset: its program starts.
    {
        TempDevice other;
        Seen elsewhere;
        EXPECT_EQ(RunScript("quit\n", elsewhere), 0);
        EXPECT_TRUE(elsewhere.started);
    }
    first.reset();
    Seen later;
    EXPECT_EQ(RunScript("quit\n", later), 0);
    EXPECT_TRUE(later.started);
}

}  // namespace
}  // namespace zentri::test
