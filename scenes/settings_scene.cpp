#include "scenes/settings_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "app/settings_file.h"
#include "net/http_request.h"  // the main menu holds its request
#include "scenes/choose_language_scene.h"
#include "scenes/choose_os_scene.h"
#include "scenes/choose_screen_scene.h"
#include "scenes/main_menu_scene.h"
#include "widgets/list_layout.h"
#include "widgets/switch.h"
#include "widgets/switch_item_layout.h"
#include "widgets/two_stage_tree_item_layout.h"

namespace zentri {

namespace {

shared_ptr<SceneImage> MakeRowImage(const std::u16string& name, bool stretch) {
    shared_ptr<SceneImage> image(new SceneImage);
    image->SetStretch(stretch);
    image->AddImage(0, name);
    image->ShowImage(0, !stretch);
    image->SetTouchable(false);
    return image;
}

shared_ptr<SceneLabel> MakeRowText(const std::u16string& text) {
    shared_ptr<SceneLabel> label(new SceneLabel);
    label->SetText(text);
    label->SetTextColor(Color{0, 0, 0});
    label->SetFormat(TextFormat::VCenter);
    label->SetTouchable(false);
    return label;
}

void SetSwitch(const GObjectPtr& container, bool on) {
    if (container) container->SetFocusable(on);
}

bool SwitchValue(const GObjectPtr& container, bool otherwise) {
    return container ? Switch::IsOn(*container) : otherwise;
}

std::u16string LanguageTitle() {
    Localization& loc = Localization::Instance();
    auto it = loc.Languages().find(loc.GetLanguage());
    return it != loc.Languages().end() ? it->second.title : loc.GetLanguage();
}

}  // namespace

SettingsScene::SettingsScene(bool firstStart)
    : firstStart(firstStart),
      profileAtEntry(Kestro::Instance().profile),
      languageAtEntry(Localization::Instance().GetLanguage()) {}

void SettingsScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3000), true, Str(firstStart ? 1000 : 5000));
    GObjectPtr content = CreateContent(page);

    AddSectionHeader(AddListItem(content), Str(3019));
    languageValue = AddChoiceRow(content, u"icon_settings_lang.png", Str(3002), u"English",
                                 [this] { Open(new ChooseLanguageScene); });
    keepCabsSwitch = AddSwitchRow(content, u"icon_settings_keypad.png", Str(3020));
    keypadSwitch = AddSwitchRow(content, u"icon_settings_keypad.png", Str(3014));
    cam3gSwitch = AddSwitchRow(content, u"icon_settings_cam3g.png", Str(3011));

    const int profileSection = static_cast<int>(content->ChildCount());
    AddSectionHeader(AddListItem(content), Str(3018));
    shared_ptr<SceneListItem> detect = AddListItem(content);
    FillListItem(detect, Str(3001), u"icon_settings_auto.png", u"");
    OnTap(detect, [this] {
        Kestro::Instance().ResetProfile();
        Refresh(false);
    });
    osValue = AddChoiceRow(content, u"icon_settings_os.png", Str(3003), u"WM5 Pocket PC",
                           [this] { Open(new ChooseOsScene(this)); });
    screenValue = AddChoiceRow(content, u"icon_settings_screen.png", Str(3005), u"QVGA(240x320)",
                               [this] { Open(new ChooseScreenScene(this)); });
    phoneSwitch = AddSwitchRow(content, u"icon_settings_phone.png", Str(3004));
    irdaSwitch = AddSwitchRow(content, u"icon_settings_irda.png", Str(3006));
    btSwitch = AddSwitchRow(content, u"icon_settings_bt.png", Str(3007));
    wifiSwitch = AddSwitchRow(content, u"icon_settings_wifi.png", Str(3008));
    glSwitch = AddSwitchRow(content, u"icon_settings_3d.png", Str(3009));
    camSwitch = AddSwitchRow(content, u"icon_settings_camera.png", Str(3010));
    accelSwitch = AddSwitchRow(content, u"icon_settings_accel.png", Str(3012));
    gpsSwitch = AddSwitchRow(content, u"icon_settings_gps.png", Str(3013));

    content->SetLayout(shared_ptr<Layout>(new ListLayout(4 * U(), 0, {0, profileSection})));
    Refresh(true);
}

shared_ptr<SceneLabel> SettingsScene::AddChoiceRow(const GObjectPtr& content,
                                                   const std::u16string& icon,
                                                   const std::u16string& title,
                                                   const std::u16string& initialValue,
                                                   std::function<void()> open) {
    shared_ptr<SceneListItem> item = AddListItem(content);
    OnTap(item, std::move(open));
    item->AddChild(MakeRowImage(icon, true), TwoStageTreeItemLayout::kIcon);
    item->AddChild(MakeRowText(title), TwoStageTreeItemLayout::kTitle);
    shared_ptr<SceneLabel> value = MakeRowText(initialValue);
    value->SetFont(600, 5 * U() / 4);
    item->AddChild(value, TwoStageTreeItemLayout::kSubtitle);
    // The arrow is rendered for the device's dpi: its own size is its box.
    shared_ptr<SceneImage> arrow = MakeRowImage(u"more_arrow.png", false);
    item->AddChild(arrow, TwoStageTreeItemLayout::kArrow);
    item->SetLayout(
        shared_ptr<Layout>(new TwoStageTreeItemLayout(U() / 2, arrow->Width(), arrow->Height())));
    return value;
}

GObjectPtr SettingsScene::AddSwitchRow(const GObjectPtr& content, const std::u16string& icon,
                                       const std::u16string& text) {
    shared_ptr<SceneListItem> item = AddListItem(content);
    item->AddChild(MakeRowImage(icon, true), SwitchItemLayout::kIcon);
    item->AddChild(MakeRowText(text), SwitchItemLayout::kText);
    shared_ptr<Switch> toggle(new Switch);
    GObjectPtr container = toggle->Create(item, Str(1), Str(2), SwitchItemLayout::kSwitch);
    item->SetLayout(shared_ptr<Layout>(new SwitchItemLayout(U() / 2)));
    // A tap anywhere on the row flips the switch; a tap on the switch itself is the switch's.
    // The row owns the switch, so the plain pointer lives as long as the handler.
    GObject* node = container.get();
    OnTap(item, [node] { node->SetFocusable(!node->IsFocusable()); });
    return container;
}

void SettingsScene::Open(Scene* choice) {
    App().PushScene(shared_ptr<Scene>(choice));
}

void SettingsScene::Refresh(bool withKeypadAndCam3g) {
    Kestro& k = Kestro::Instance();
    k.savedProfile = k.profile;
    const DeviceProfile& p = k.profile;
    if (languageValue) languageValue->SetText(LanguageTitle());
    if (osValue) osValue->SetText(OsName(p.osver));
    if (screenValue) screenValue->SetText(ScreenName(p.w, p.h));
    SetSwitch(phoneSwitch, p.phone);
    SetSwitch(irdaSwitch, p.irda);
    SetSwitch(btSwitch, p.bt);
    SetSwitch(wifiSwitch, p.wifi);
    SetSwitch(glSwitch, p.gl);
    SetSwitch(camSwitch, p.cam);
    SetSwitch(accelSwitch, p.accel);
    SetSwitch(gpsSwitch, p.gps);
    SetSwitch(keepCabsSwitch, k.keepCabs);
    if (withKeypadAndCam3g) {
        SetSwitch(keypadSwitch, p.keypad);
        SetSwitch(cam3gSwitch, p.cam3g);
    }
}

void SettingsScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), firstStart ? Str(5) : u"");
}

void SettingsScene::Deactivate(GObjectPtr& page) {
    (void)page;
    StoreSwitches();
}

void SettingsScene::Removed(GObjectPtr& page) {
    (void)page;
    if (ChangedSinceEntry()) Kestro::Instance().configNeeded = true;
}

void SettingsScene::OnRightSoftKey() {
    // The main menu sends the configuration when it comes (it is still due after the sign-in);
    // this scene stays below it.
    if (firstStart) App().PushNew<MainMenuScene>();
}

void SettingsScene::StoreSwitches() {
    Kestro& k = Kestro::Instance();
    DeviceProfile& p = k.profile;
    p.phone = SwitchValue(phoneSwitch, p.phone);
    p.irda = SwitchValue(irdaSwitch, p.irda);
    p.bt = SwitchValue(btSwitch, p.bt);
    p.wifi = SwitchValue(wifiSwitch, p.wifi);
    p.gl = SwitchValue(glSwitch, p.gl);
    p.cam = SwitchValue(camSwitch, p.cam);
    p.cam3g = SwitchValue(cam3gSwitch, p.cam3g);
    p.accel = SwitchValue(accelSwitch, p.accel);
    p.gps = SwitchValue(gpsSwitch, p.gps);
    p.keypad = SwitchValue(keypadSwitch, p.keypad);
    k.keepCabs = SwitchValue(keepCabsSwitch, k.keepCabs);
}

bool SettingsScene::ChangedSinceEntry() const {
    return !(Kestro::Instance().profile == profileAtEntry) ||
           Localization::Instance().GetLanguage() != languageAtEntry;
}

}  // namespace zentri
