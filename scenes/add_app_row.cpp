#include "scenes/add_app_row.h"

#include <cmath>

#include "app/localization.h"
#include "manager/app_manager.h"
#include "platform/text.h"
#include "ui/display_metrics.h"
#include "widgets/app_list_item_layout.h"
#include "widgets/label.h"
#include "widgets/star_rating.h"

namespace zentri {

namespace {

using Part = AppListItemLayout::PartId;
using RowLabel = TLabel<GObject>;
constexpr Color kBlack{0, 0, 0};
constexpr Color kGrey{120, 120, 120};

shared_ptr<RowLabel> AddRowLabel(const GObjectPtr& item, int id, const std::u16string& text,
                                 Color colour) {
    shared_ptr<RowLabel> label(new RowLabel);
    label->SetText(text);
    label->SetTextColor(colour);
    label->SetFormat(TextFormat::VCenter | TextFormat::SingleLine | TextFormat::EndEllipsis);
    label->SetTouchable(false);
    item->AddChild(label, id);
    return label;
}

void AddIcon(const GObjectPtr& item, const App& app) {
    shared_ptr<AppRowIcon> icon(new AppRowIcon);
    icon->SetImageAlign(HAlign::Center, VAlign::Center);
    icon->SetTouchable(false);
    // The default icon also stands while a picture loads, or when it cannot be had. Only a
    // drawn row fetches its picture (TRemoteImage starts on its first draw).
    icon->AddImage(0, u"deficon.png");
    icon->ShowImage(0);
    if (!app.icon.empty()) {
        icon->SetUrl(app.icon);
    } else if (std::u16string exe = AppManager::Instance().FindExecutable(app.sysid, app.exe);
               !exe.empty()) {
        icon->SetLocalFile(exe);
    }
    item->AddChild(icon, Part::kIcon);
}

int PriceText(const std::u16string& type) {
    if (type == u"demo") return 12010;
    if (type == u"trial") return 12009;
    if (type == u"free") return 12008;
    return 0;
}

void AddFullBottom(const GObjectPtr& item, const App& app, int base) {
    Localization& text = Localization::Instance();
    AddRowLabel(item, Part::kBesideSmall,
                app.rates > 0 ? u"(" + platform::Utf8ToUtf16(std::to_string(app.rates)) + u")"
                              : text.Get(7000),
                kGrey);
    const int price = PriceText(app.type);
    auto priceLabel = AddRowLabel(item, Part::kRightValue, price ? text.Get(price) : u"", kGrey);
    priceLabel->SetFont(600, base);
    priceLabel->SetFormat(TextFormat::VCenter | TextFormat::Right | TextFormat::SingleLine);
    AppManager& manager = AppManager::Instance();
    if (manager.HasInstalled(app.sysid)) {
        const bool newerHere = app.revision < manager.GetInstalledRevision(app.sysid);
        auto state =
            AddRowLabel(item, Part::kBottomRight, text.Get(newerHere ? 7001 : 7002), kGrey);
        state->SetFont(600, base);
        state->SetFormat(TextFormat::VCenter | TextFormat::Right | TextFormat::SingleLine);
    }
    if (app.rates > 0) {
        // Read-only stars hold no handler, so the rating object need not outlive them.
        StarRating stars;
        GObjectPtr container = stars.Create(HalfStars(app.rate), true);
        container->SetTouchable(false);
        item->AddChild(container, Part::kSmall);
    }
}

}  // namespace

int32_t HalfStars(double rate) {
    return static_cast<int32_t>(std::lround(2 * rate));
}

void AddAppRow(const GObjectPtr& item, const shared_ptr<App>& app, bool compact) {
    const int base = GetDisplayMetrics().baseFontHeight;
    item->RemoveAllChildren();
    AddIcon(item, *app);
    auto name = AddRowLabel(item, Part::kTitle, app->name, kBlack);
    name->SetFont(600, 5 * base / 4);
    AddRowLabel(item, Part::kSecondLine, app->com, kGrey);
    if (compact)
        item->AddChild(MakeShared<GObject>(), Part::kBottomRow);
    else
        AddFullBottom(item, *app, base);

    int arrowWidth = 0, arrowHeight = 0;
    if (app->catalogueValid) {
        shared_ptr<TImage<GObject>> arrow(new TImage<GObject>);
        arrow->AddImage(0, u"more_arrow.png");
        arrow->ShowImage(0, true);  // rendered for the device's dpi: its own size is the box
        arrow->SetTouchable(false);
        arrowWidth = arrow->Width();
        arrowHeight = arrow->Height();
        item->AddChild(arrow, Part::kArrow);
    }
    const int starHeight = 3 * base / 2;
    item->SetLayout(shared_ptr<Layout>(new AppListItemLayout(
        base / 2, arrowWidth, arrowHeight, app->rates > 0 ? 5 * starHeight : 0, starHeight)));
}

}  // namespace zentri
