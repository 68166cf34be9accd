// The settings scene and its screen choice on the program's own scene stack, driven by taps on
// a screen tall enough to show every row.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "app/settings_file.h"
#include "scenes/settings_scene.h"
#include "tests/scenes/catalogue_scene_fixture.h"
#include "tests/support/temp_device.h"
#include "ui/automation_tree.h"
#include "ui/touch.h"
#include "widgets/switch.h"
#include "widgets/switch_item_layout.h"

namespace zentri::test {
namespace {

class HomeScene : public Scene {};  // where the settings are opened from

class SettingsSceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadProgramTexts(device);
        Localization::Instance().SetLanguage(u"en");
        Kestro& k = Kestro::Instance();
        k.detectedProfile = {u"wm6ppc", 240,   320,   true,  false, false, false,
                             false,     false, false, false, false, true};
        k.profile = {u"wm65ppc", 480,   640,  false, false, false, false,
                     false,      false, true, false, true,  false};
        k.keepCabs = false;
        k.configNeeded = false;
        app->Server().Resize(480, 2000);
        app->BuildShell();
        app->PushScene(shared_ptr<Scene>(new HomeScene));
    }

    void Settle() {
        for (int i = 0; i < 50 && app->Server().HasAnimators(); ++i)
            app->Server().Tick(true, false);
    }
    void Open() {
        app->PushScene(shared_ptr<Scene>(new SettingsScene(false)));
        Settle();
    }
    void Back() {
        app->GoBack();
        Settle();
    }
    const AutomationNode* Find(const std::u16string& text) {
        nodes = VisibleNodes(*app->Server().Root(), app->Server().Screen());
        for (const AutomationNode& node : nodes)
            if (node.text == text) return &node;
        return nullptr;
    }
    void Tap(const std::u16string& text) {
        const AutomationNode* node = Find(text);
        ASSERT_NE(node, nullptr);
        const int x = node->rect.x + node->rect.w / 2, y = node->rect.y + node->rect.h / 2;
        app->Server().DispatchTouch(Touch::kDown, x, y);
        app->Server().DispatchTouch(Touch::kUp, x, y);
        Settle();
    }
    // The part with id `part` beside the label `text` in its row on the top page.
    GObjectPtr Beside(const std::u16string& text, int part) {
        GObject* label = LabelNode(*app->TopScene()->Page(), text);
        GObjectPtr found;
        if (label) label->Parent()->FindChild(part, found);
        return found;
    }
    bool SwitchOn(const std::u16string& row) {
        GObjectPtr toggle = Beside(row, SwitchItemLayout::kSwitch);
        return toggle && Switch::IsOn(*toggle);
    }
    static GObject* LabelNode(GObject& node, const std::u16string& text) {
        if (node.AutomationText() == text) return &node;
        for (size_t i = 0; i < node.ChildCount(); ++i)
            if (GObject* found = LabelNode(*node.ChildAt(i), text)) return found;
        return nullptr;
    }

    TempDevice device;
    std::unique_ptr<KestroApp> app = std::make_unique<KestroApp>();
    std::vector<AutomationNode> nodes;
};

TEST_F(SettingsSceneTest, DetectionResetsTheProfileButKeepsKeypadAndVideoCalls) {
    Kestro& k = Kestro::Instance();
    Open();
    EXPECT_EQ(k.savedProfile, k.profile);  // the fallback for a refused configuration
    EXPECT_TRUE(Find(u"VGA(480x640)"));
    EXPECT_TRUE(SwitchOn(u"GPS"));
    EXPECT_TRUE(SwitchOn(u"Video calls"));

    Tap(u"Detect automatically");
    EXPECT_EQ(k.savedProfile, k.detectedProfile);
    EXPECT_TRUE(Find(u"Windows Mobile 6 Professional"));
    EXPECT_TRUE(Find(u"QVGA(240x320)"));
    EXPECT_TRUE(SwitchOn(u"Phone"));
    EXPECT_FALSE(SwitchOn(u"GPS"));
    // Detection cannot know these two: they stay as the user set them, and are kept so.
    EXPECT_FALSE(SwitchOn(u"Keypad"));
    EXPECT_TRUE(SwitchOn(u"Video calls"));
    Back();
    EXPECT_TRUE(k.profile.phone);
    EXPECT_FALSE(k.profile.keypad);
    EXPECT_TRUE(k.profile.cam3g);
}

TEST_F(SettingsSceneTest, OnlyAChangedProfileAsksForANewConfiguration) {
    Kestro& k = Kestro::Instance();
    Open();
    Back();
    EXPECT_FALSE(k.configNeeded);
    // Flipped and flipped back; the keep-CAB option is no part of the profile.
    Open();
    Tap(u"Keypad");
    Tap(u"Keypad");
    Tap(u"Keep CAB files");
    Back();
    EXPECT_FALSE(k.configNeeded);
    EXPECT_TRUE(k.keepCabs);

    Open();
    Tap(u"Bluetooth");
    Back();
    EXPECT_TRUE(k.configNeeded);
    EXPECT_TRUE(k.profile.bt);
    // The file is the program's to write when it ends; a killed run keeps the previous one.
    EXPECT_FALSE(ReadSettingsFile(SettingsFilePath()));
}

TEST_F(SettingsSceneTest, AScreenInNoTableEntrySelectsTheFirst) {
    Kestro& k = Kestro::Instance();
    k.profile.w = 240;
    k.profile.h = 268;
    Open();
    EXPECT_FALSE(Find(u"QVGA(240x320)"));  // the initial value is replaced, by nothing
    Tap(u"Screen");
    auto checked = [&](const std::u16string& entry) {
        GObjectPtr check = Beside(entry, Scene::kItemRightId);
        return check && check->IsVisible();
    };
    EXPECT_TRUE(checked(u"Standard(176x220)"));
    EXPECT_FALSE(checked(u"QVGA(240x320)"));
    Tap(u"WVGA(480x800)");
    EXPECT_EQ(k.profile.w, 480);
    EXPECT_EQ(k.profile.h, 800);
    EXPECT_TRUE(Find(u"WVGA(480x800)"));
    EXPECT_EQ(k.savedProfile, k.profile);
}

}  // namespace
}  // namespace zentri::test
