#include "widgets/popup_box.h"

#include "ui/display_metrics.h"
#include "ui/interpolator.h"
#include "ui/menu_bar.h"
#include "ui/platform/text_layout.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "ui/touch.h"
#include "ui/ui_server.h"
#include "widgets/box_layout.h"
#include "widgets/chain_run.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/movable.h"
#include "widgets/popup_box_layout.h"
#include "widgets/transparable.h"

namespace zentri {
namespace {

using Panel = TImage<TMovableI<TTransparableI<GObject>>>;
using Text = TLabel<GObject>;

constexpr int kFadeFrom = 2;
constexpr int kFadeTo = 127;
constexpr int kFadeSteps = 5;

// Black over the whole screen at the node's own transparency, which its chain fades in (the
// panel keeps its own). It takes every touch, so nothing under the box reacts while it is up.
class Backdrop : public GObject {
  public:
    Backdrop()
        : fadeChain(new ComplexStatesChain<int>(new LinearInterpolator<int>,
                                                new TransparencyProperty(this))) {
        OnTouch().Add([](GObjectPtr&, const Touch&) {});
    }
    // A fade still running must not write into a node that is gone.
    ~Backdrop() override { fadeChain->Lock(); }

    void Draw(Surface& surface) override {
        surface.FillRect(0, 0, Width(), Height(), Color{0, 0, 0}, Transparency());
    }

    void FadeIn() {
        fadeChain->Reset();
        fadeChain->SetTarget(0, kFadeFrom);
        fadeChain->SetTarget(kFadeSteps, kFadeTo);
        RunOnce(*this, fadeChain);
    }

  private:
    shared_ptr<ComplexStatesChain<int>> fadeChain;
};

shared_ptr<Text> MakeText(const std::u16string& text, Font* font, bool multiLine) {
    auto label = MakeShared<Text>();
    label->SetText(text);
    label->SetFont(font);
    label->SetTextColor(RGB(0xFFFFFF));
    label->SetFormat(TextFormat::Center | TextFormat::VCenter |
                     (multiLine ? 0 : TextFormat::SingleLine));
    label->SetMultiLine(multiLine);
    return label;
}

}  // namespace

void PopupBox::Attach(UIServer* uiServer, MenuBar* bar) {
    server = uiServer;
    menuBar = bar;
}

shared_ptr<PopupBox::ResultEvent> PopupBox::Show(const std::u16string& caption,
                                                 const std::u16string& text,
                                                 const std::u16string& leftKeyText,
                                                 const std::u16string& rightKeyText) {
    if (shown) return nullptr;
    objectId = kObjectId;
    shown = true;
    onResult = MakeShared<ResultEvent>();
    // The soft keys answer the box whether or not there is a screen to draw it on; a key
    // that has a text must be pressable, or the box could never be answered.
    if (menuBar) {
        menuBar->SetLeftText(leftKeyText);
        menuBar->SetLeftEnabled(true);
        menuBar->SetRightText(rightKeyText);
        menuBar->SetRightEnabled(!rightKeyText.empty());
    }
    GObjectPtr root = server ? server->Root() : nullptr;
    if (!root) return onResult;

    int u = GetDisplayMetrics().baseFontHeight;
    auto backdrop = MakeShared<Backdrop>();
    backdrop->SetTransparency(kFadeFrom);
    backdrop->SetSize(root->Width(), root->Height());

    auto panel = MakeShared<Panel>();
    panel->SetStretch(true);
    panel->AddImage(0, u"dialog.png");
    panel->ShowImage(0);
    backdrop->AddChild(panel, kPanelId);
    Font* bold = FontManager::Instance().GetFont(600, u * 3 / 2, false);
    panel->AddChild(MakeText(caption, bold, false), kCaptionId);
    panel->AddChild(MakeText(text, nullptr, true), kMessageId);

    panel->SetLayout(MakeShared<PopupBoxLayout>());
    backdrop->SetLayout(MakeShared<BoxLayout>());
    root->AddChild(backdrop, objectId);

    backdrop->FadeIn();
    // The panel starts just below the screen and slides up.
    panel->SetPosition(0, backdrop->Height());
    if (shared_ptr<Layout> layout = backdrop->GetLayout()) layout->Update(Layout::kContentChanged);
    return onResult;
}

void PopupBox::Close(bool leftKey) {
    if (!shown) return;
    shown = false;
    if (GObjectPtr root = server ? server->Root() : nullptr) root->RemoveChildById(objectId);
    // A subscriber may show the next box, which replaces the list.
    shared_ptr<ResultEvent> answer = onResult;
    onClosed.Invoke();
    if (menuBar) menuBar->SetRightEnabled(true);
    if (answer) answer->Invoke(leftKey ? LeftKey : RightKey);
    if (!shown) onFree.Invoke();
}

}  // namespace zentri
