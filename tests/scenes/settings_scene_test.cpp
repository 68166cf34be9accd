// The settings scene and its choice scenes on the program's own scene stack, driven by taps on
// a screen tall enough to show every row.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "app/settings_file.h"
#include "platform/text.h"
#include "scenes/settings_scene.h"
#include "tests/support/temp_device.h"
#include "ui/automation_tree.h"
#include "ui/touch.h"
#include "widgets/switch.h"
#include "widgets/switch_item_layout.h"

namespace zentri::test {
namespace {

// The scene the settings are opened from.
class HomeScene : public Scene {
  public:
    void Build(GObjectPtr& page) override { AddHeader(page, u"Home", false, u""); }
};

class SettingsSceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ifstream file(SourceDir() / "resources" / "localization.xml");
        std::stringstream xml;
        xml << file.rdbuf();
        device.WriteFile("\\Program Files\\Zentri\\localization.xml", xml.str());
        Localization& loc = Localization::Instance();
        loc.Load(u"\\Program Files\\Zentri\\localization.xml");
        loc.SetLanguage(u"en");

        Kestro& k = Kestro::Instance();
        k.detectedProfile = DeviceProfile{u"wm6ppc", 240,   320,   true,  false, false, false,
                                          false,     false, false, false, false, true};
        k.profile = DeviceProfile{u"wm65ppc", 480,   640,  false, false, false, false,
                                  false,      false, true, false, true,  false};
        k.savedProfile = {};
        k.keepCabs = false;
        k.configNeeded = false;

        app->Server().Resize(480, 2000);
        app->BuildShell();
        app->PushScene(shared_ptr<Scene>(new HomeScene));
    }
    void TearDown() override { app = nullptr; }

    void Settle() {
        for (int i = 0; i < 50 && app->Server().HasAnimators(); ++i)
            app->Server().Tick(true, false);
    }
    void Open(bool firstStart = false) {
        app->PushScene(shared_ptr<Scene>(new SettingsScene(firstStart)));
        Settle();
    }
    void Back() {
        app->GoBack();
        Settle();
    }
    // The topmost visible node that draws `text`.
    bool Find(const std::u16string& text, AutomationNode& out) {
        auto nodes = VisibleNodes(*app->Server().Root(), app->Server().Screen());
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
            if (it->text == text) {
                out = *it;
                return true;
            }
        return false;
    }
    bool Shown(const std::u16string& text) {
        AutomationNode node;
        return Find(text, node);
    }
    void Tap(const std::u16string& text) {
        AutomationNode node;
        ASSERT_TRUE(Find(text, node)) << platform::Utf16ToUtf8(text);
        const int x = node.rect.x + node.rect.w / 2, y = node.rect.y + node.rect.h / 2;
        app->Server().DispatchTouch(Touch::kDown, x, y);
        app->Server().DispatchTouch(Touch::kUp, x, y);
        Settle();
    }
    // The switch in the row whose text is `label`, on the settings page on top.
    bool SwitchOn(const std::u16string& label) {
        GObject* row = LabelNode(*app->TopScene()->Page(), label);
        EXPECT_NE(row, nullptr) << platform::Utf16ToUtf8(label);
        GObjectPtr toggle;
        if (!row || !row->Parent()->FindChild(SwitchItemLayout::kSwitch, toggle)) return false;
        return Switch::IsOn(*toggle);
    }
    static GObject* LabelNode(GObject& node, const std::u16string& text) {
        if (node.AutomationText() == text) return &node;
        for (size_t i = 0; i < node.ChildCount(); ++i)
            if (GObject* found = LabelNode(*node.ChildAt(i), text)) return found;
        return nullptr;
    }

    TempDevice device;
    std::unique_ptr<KestroApp> app = std::make_unique<KestroApp>();
};

TEST_F(SettingsSceneTest, ShowsTheProfileAndDetectionKeepsKeypadAndVideoCalls) {
    Kestro& k = Kestro::Instance();
    Open();
    EXPECT_EQ(k.savedProfile, k.profile);  // the fallback for a refused configuration
    EXPECT_TRUE(Shown(u"English"));
    EXPECT_TRUE(Shown(u"Windows Mobile 6.5 Professional"));
    EXPECT_TRUE(Shown(u"VGA(480x640)"));
    EXPECT_FALSE(SwitchOn(u"Phone"));
    EXPECT_TRUE(SwitchOn(u"GPS"));
    EXPECT_FALSE(SwitchOn(u"Keypad"));
    EXPECT_TRUE(SwitchOn(u"Video calls"));

    Tap(u"Detect automatically");
    EXPECT_EQ(k.savedProfile, k.detectedProfile);
    EXPECT_TRUE(Shown(u"Windows Mobile 6 Professional"));
    EXPECT_TRUE(Shown(u"QVGA(240x320)"));
    EXPECT_TRUE(SwitchOn(u"Phone"));
    EXPECT_FALSE(SwitchOn(u"GPS"));
    // Detection cannot know these two: they stay as the user set them, and are kept so.
    EXPECT_FALSE(SwitchOn(u"Keypad"));
    EXPECT_TRUE(SwitchOn(u"Video calls"));

    Back();
    EXPECT_EQ(k.profile.osver, u"wm6ppc");
    EXPECT_TRUE(k.profile.phone);
    EXPECT_FALSE(k.profile.keypad);
    EXPECT_TRUE(k.profile.cam3g);
    EXPECT_TRUE(k.configNeeded);
}

TEST_F(SettingsSceneTest, OnlyAChangedProfileOrLanguageAsksForANewConfiguration) {
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
    // The choice is on the device at once, not only when the program ends normally.
    std::optional<SettingsRecord> saved = ReadSettingsFile(SettingsFilePath());
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->profile.bt);
    EXPECT_TRUE(saved->keepCabs);

    k.configNeeded = false;
    Open();
    Tap(u"Language");
    // The list opens at the current language, below Deutsch.
    app->TopScene()->OnChoose(0);
    Settle();
    // Every scene on the stack speaks the new language at once.
    EXPECT_TRUE(Shown(u"Einstellungen"));
    EXPECT_TRUE(Shown(u"Deutsch"));
    EXPECT_TRUE(Shown(u"Tastatur"));
    EXPECT_FALSE(k.configNeeded);
    Back();
    EXPECT_TRUE(k.configNeeded);
}

TEST_F(SettingsSceneTest, ChoicesOutsideTheTablesSelectTheFirstEntry) {
    Kestro& k = Kestro::Instance();
    k.profile.osver = u"wmppc";  // a version detection does not know
    k.profile.w = 240;
    k.profile.h = 268;
    Open();
    EXPECT_TRUE(Shown(u"Platform"));
    EXPECT_FALSE(Shown(u"QVGA(240x320)"));  // the initial value is replaced, by nothing

    auto checked = [&](const std::u16string& entry) {
        GObject* label = LabelNode(*app->TopScene()->Page(), entry);
        GObjectPtr check;
        return label && label->Parent()->FindChild(Scene::kItemRightId, check) &&
               check->IsVisible();
    };
    Tap(u"Screen");
    EXPECT_TRUE(checked(u"Standard(176x220)"));
    EXPECT_FALSE(checked(u"QVGA(240x320)"));
    Tap(u"WVGA(480x800)");
    EXPECT_EQ(k.profile.w, 480);
    EXPECT_EQ(k.profile.h, 800);
    EXPECT_TRUE(Shown(u"WVGA(480x800)"));
    EXPECT_EQ(k.savedProfile, k.profile);

    Tap(u"Platform");
    EXPECT_TRUE(checked(u"Windows Mobile 5 Pocket PC"));
    Tap(u"Windows Mobile 6.5 Standard");
    EXPECT_EQ(k.profile.osver, u"wm65sp");
    EXPECT_TRUE(Shown(u"Windows Mobile 6.5 Standard"));
}

}  // namespace
}  // namespace zentri::test
