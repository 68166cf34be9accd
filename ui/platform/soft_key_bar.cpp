#include "ui/platform/soft_key_bar.h"

#include "ui/clip_scope.h"
#include "ui/font_manager.h"
#include "ui/platform/text_context.h"
#include "ui/surface.h"

namespace zentri {
namespace {

constexpr Color kBarColor{0x20, 0x24, 0x2C};
constexpr Color kEdgeColor{0x50, 0x58, 0x64};
constexpr Color kTextColor{0xFF, 0xFF, 0xFF};
constexpr Color kGreyedColor{0x78, 0x7C, 0x84};

void DrawLabel(TextContext& dc, const std::u16string& text, bool enabled, Rect box) {
    if (text.empty()) return;
    dc.SetTextColor(enabled ? kTextColor : kGreyedColor);
    dc.DrawText(text, box,
                TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine |
                    TextFormat::EndEllipsis);
}

}  // namespace

// Two base units: 26 pixels at 96 dpi, 52 at 192 dpi, as the handset's menu bar.
int SoftKeyBarHeight(int baseUnit) {
    return 2 * baseUnit;
}

// Each key owns half of the bar; its label is centred in that half.
void DrawSoftKeyBar(Surface& surface, const Rect& area, const SoftKeyBar& bar, int baseUnit) {
    // Stored, not blended: a fill at full opacity keeps a trace of the labels drawn before.
    surface.FillRaw(area, To565(kBarColor));
    surface.FillRaw(Rect{area.x, area.y, area.w, 1}, To565(kEdgeColor));
    ClipScope scope(surface, area, area.x, area.y);
    TextContext dc(surface);
    dc.SelectFont(FontManager::Instance().GetFont(600, baseUnit, false));
    int half = area.w / 2, margin = baseUnit / 2;
    DrawLabel(dc, bar.leftText, bar.leftEnabled, Rect{margin, 1, half - 2 * margin, area.h - 1});
    DrawLabel(dc, bar.rightText, bar.rightEnabled,
              Rect{half + margin, 1, area.w - half - 2 * margin, area.h - 1});
}

}  // namespace zentri
