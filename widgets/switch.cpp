#include "widgets/switch.h"

#include "ui/display_metrics.h"
#include "ui/platform/text_layout.h"
#include "ui/touch.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/movable.h"
#include "widgets/switch_layout.h"
#include "widgets/switcher_layout.h"

namespace zentri {
namespace {

using Strip = TMovableI<GObject>;
using Face = TLabel<TImage<GObject>>;
using Toggler = TImage<GObject>;

// A tap on the switch (its container, or the toggler that lies on top) inverts its value.
class SwitchToggle_Touch : public Delegate_2<GObjectPtr&, const Touch&> {
  public:
    // The toggler sits in the strip, which sits in the container.
    explicit SwitchToggle_Touch(bool onToggler) : onToggler(onToggler) {}
    void Invoke(GObjectPtr& node, const Touch& touch) override {
        if (touch.type != Touch::kClick) return;
        GObject* container = node.get();
        if (onToggler) container = node->Parent() ? node->Parent()->Parent() : nullptr;
        if (container) container->SetFocusable(!container->IsFocusable());
    }

  private:
    bool onToggler;
};

// A new value slides the strip: the container's layout runs as for changed content.
class SwitchValue_Changed : public Delegate_2<GObjectPtr&, bool> {
  public:
    void Invoke(GObjectPtr& container, bool value) override {
        (void)value;
        if (shared_ptr<Layout> layout = container->GetLayout())
            layout->Update(Layout::kContentChanged);
    }
};

// When the strip arrives, the face under the other is hidden. The strip owns the chain and
// locks it when it goes, so the plain pointer never outlives it.
class SwitchSlide_End : public Delegate_4<StatesChain*, int, int, int> {
  public:
    explicit SwitchSlide_End(GObject* strip) : strip(strip) {}
    void Invoke(StatesChain*, int, int to, int count) override {
        if (to == count - 1) Switch::HideCoveredFace(*strip);
    }

  private:
    GObject* strip;
};

shared_ptr<Face> MakeFace(const char16_t* image, const std::u16string& text, Color color,
                          uint32_t align, int padLeft, int padRight) {
    int u = GetDisplayMetrics().baseFontHeight;
    auto face = MakeShared<Face>();
    face->SetStretch(true);
    face->AddImage(0, image);
    face->ShowImage(0);
    face->SetText(text);
    face->SetFont(600, u * 3 / 2);
    face->SetFormat(align | TextFormat::VCenter | TextFormat::SingleLine);
    face->SetTextColor(color);
    // The margins are a low-resolution screen's pixels; the face's rounded edge grows with the
    // dpi, and so must they, or the text runs under it.
    const int dpi = GetDisplayMetrics().dpi;
    face->SetTextPadding(padLeft * dpi / 96, 0, padRight * dpi / 96, 0);
    return face;
}

}  // namespace

Switch::~Switch() = default;

GObjectPtr Switch::Create(const GObjectPtr& parent, const std::u16string& onText,
                          const std::u16string& offText, int id) {
    container = MakeShared<GObject>();
    container->OnTouch().Add(MakeShared<SwitchToggle_Touch>(false));

    auto strip = MakeShared<Strip>();
    strip->MoveChain()->OnStateChanged().Add(MakeShared<SwitchSlide_End>(strip.get()));
    strip->AddChild(MakeFace(u"switch_bg_on.png", onText, RGB(0xFFFFFF), TextFormat::Left, 5, 0));
    strip->AddChild(
        MakeFace(u"switch_bg_off.png", offText, RGB(0x787878), TextFormat::Right, 0, 3));
    auto toggler = MakeShared<Toggler>();
    toggler->SetStretch(true);
    toggler->AddImage(0, u"switch_toggler.png");
    toggler->ShowImage(0);
    toggler->OnTouch().Add(MakeShared<SwitchToggle_Touch>(true));
    strip->AddChild(toggler);
    strip->SetLayout(MakeShared<SwitchLayout>(3 * GetDisplayMetrics().baseFontHeight / 3));

    container->AddChild(strip);
    container->SetLayout(MakeShared<SwitcherLayout>());
    container->OnFocusableChanged().Add(MakeShared<SwitchValue_Changed>());
    if (parent)
        parent->AddChild(container, id);
    else
        container->SetId(id);
    return container;
}

void Switch::HideCoveredFace(GObject& strip) {
    GObject* container = strip.Parent();
    if (!container || strip.ChildCount() <= kOffFace) return;
    bool on = IsOn(*container);
    strip.ChildAt(kOffFace)->SetVisible(!on);
    strip.ChildAt(kOnFace)->SetVisible(on);
}

}  // namespace zentri
