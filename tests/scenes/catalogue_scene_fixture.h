#pragma once
// The catalogue scenes on the program's own application object and shell, on a fresh device
// with the real texts, a screen of 480 x 588 stepped by the test, and a clock it moves. The
// test runs as the UI thread does, holding appLock (answers of requests that reach the network
// wait until the test ends, and are then dropped). Popup boxes are recorded.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "manager/app_manager.h"
#include "net/inet_manager.h"
#include "platform/text.h"
#include "scenes/scene.h"
#include "tests/support/temp_device.h"
#include "ui/app_lock.h"
#include "ui/menu_bar.h"
#include "ui/performance_frequency.h"
#include "ui/touch.h"

namespace zentri::test {

// The program's own texts, put on the device and loaded as the program loads them.
inline void LoadProgramTexts(const TempDevice& device) {
    std::ifstream in(SourceDir() / "resources" / "localization.xml", std::ios::binary);
    device.WriteFile("\\Program Files\\Zentri\\localization.xml",
                     std::string(std::istreambuf_iterator<char>(in), {}));
    Localization::Instance().Load(u"\\Program Files\\Zentri\\localization.xml");
}

class RecordingApp : public KestroApp {
  public:
    shared_ptr<Delegation_1<PopupBox::PopupBoxResult>> ShowPopup(
        const std::u16string& caption, const std::u16string& text, const std::u16string& leftText,
        const std::u16string& rightText) override {
        popups.push_back(text);
        return KestroApp::ShowPopup(caption, text, leftText, rightText);
    }
    std::vector<std::u16string> popups;  // the texts shown, in order
};

class CatalogueSceneTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 480, kHeight = 588;

    void SetUp() override {
        LoadProgramTexts(device);
        Kestro& k = Kestro::Instance();
        k.ClearCatalogue();
        k.SetSortOrder(u"createtime");
        k.SetPriceFilter(u"");
        k.SetSessionId(u"s1");
        AppManager::Instance().Start();
        PerformanceFrequency::Instance().SetSource(clock);
        lock.lock();
        app.Server().Resize(kWidth, kHeight);
        app.BuildShell();
    }
    void TearDown() override {
        while (app.SceneStack().size() > 1)
            app.PopImmediately();
        lock.unlock();
        InetManager::Instance().Shutdown();
        AppManager::Instance().Shutdown();
        PerformanceFrequency::Instance().SetSource(nullptr);
    }

    static std::u16string U16(const std::string& text) { return platform::Utf8ToUtf16(text); }
    static std::u16string Str(int id) { return Localization::Instance().Get(id); }

    template <class T>
    T* Push(T* scene) {
        app.PushScene(shared_ptr<Scene>(scene));
        Settle();
        return scene;
    }
    // Steps 40 ms frames until nothing moves, and paints.
    void Settle() {
        for (int i = 0; i < 500 && app.Server().HasAnimators(); ++i) {
            clock->AdvanceMs(40);
            app.Server().Tick(true, true);
        }
        app.Server().Tick(false, true);
    }
    // A finger's tap on the middle of the node.
    void Tap(const GObjectPtr& node) {
        const Rect r = node->AbsRect();
        app.Server().DispatchTouch(Touch::kDown, r.x + r.w / 2, r.y + r.h / 2);
        clock->AdvanceMs(60);
        app.Server().DispatchTouch(Touch::kUp, r.x + r.w / 2, r.y + r.h / 2);
        Settle();
    }
    void SoftKey(bool left) {
        app.OnCommand(left ? MenuBar::kLeftCommand : MenuBar::kRightCommand);
        Settle();
    }
    Scene* Top() { return app.TopScene(); }
    // The rows of a scene's content.
    static GObjectPtr Content(Scene* scene) {
        GObjectPtr scroll, content;
        if (!scene->Page()->FindChild(Scene::kContentId, scroll)) return nullptr;
        return scroll->FindChild(-200, content) ? content : nullptr;
    }
    // The text of a child (by id) of a node, empty when there is none.
    static std::u16string TextOf(const GObjectPtr& node, int id) {
        GObjectPtr part;
        if (!node->FindChild(id, part)) return u"";
        return std::u16string(part->AutomationText());
    }

    TempDevice device;
    std::shared_ptr<ManualCounter> clock = std::make_shared<ManualCounter>(1000000);
    std::unique_lock<AppLockType> lock{AppLock(), std::defer_lock};
    RecordingApp app;
};

}  // namespace zentri::test
