#include "app/loading.h"

#include <mutex>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/loading_layout.h"
#include "app/localization.h"
#include "ui/app_lock.h"
#include "widgets/animated_image.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/rect_drawer.h"

namespace zentri {

namespace {

using SpinnerNode = TAnimatedImage<TImage<GObject>>;
using StripNode = TLabel<TRectDrawer<GObject>>;

}  // namespace

void Loading::Show(bool show) {
    std::lock_guard<AppLockType> lock(AppLock());
    const bool wasShown = count_ != 0;
    count_ += show ? 1 : -1;
    UpdateIndicator();
    // While a request is outstanding the soft keys and the screen take no input.
    const bool shown = count_ != 0;
    if (shown != wasShown)
        if (KestroApp* app = Kestro::Instance().app) app->SetBusy(!shown);
}

int32_t Loading::Count() const {
    std::lock_guard<AppLockType> lock(AppLock());
    return count_;
}

GObjectPtr Loading::BuildLayer() {
    shared_ptr<StripNode> band(new StripNode);
    band->SetText(u"Loading...");
    band->SetFormat(TextFormat::VCenter | TextFormat::Left);
    band->SetTextPadding(3, 0, 0, 0);
    band->SetFillColor(Color{0, 0, 0});
    band->SetTransparency(200);
    band->SetTextColor(Color{255, 255, 255});
    band->SetVisible(false);
    band->SetTouchable(false);

    shared_ptr<SpinnerNode> wheel(new SpinnerNode);
    wheel->SetStretch(true);
    for (int i = 0; i < 8; ++i)
        wheel->AddImage(i, u"load" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".png");
    wheel->SetFramesPerImage(2);
    wheel->ShowImage(0);
    wheel->SetVisible(false);
    wheel->SetTouchable(false);

    strip = band;
    spinner = wheel;
    GObjectPtr layer(new GObject);
    layer->SetTouchable(false);
    layer->SetLayout(shared_ptr<Layout>(new LoadingLayout));
    layer->AddChild(strip, LoadingLayout::kStripId);
    layer->AddChild(spinner, LoadingLayout::kSpinnerId);
    UpdateIndicator();
    return layer;
}

void Loading::DropLayer() {
    std::lock_guard<AppLockType> lock(AppLock());
    if (spinner) static_cast<SpinnerNode*>(spinner.get())->Stop();
    strip = nullptr;
    spinner = nullptr;
}

void Loading::UpdateIndicator() {
    if (!strip || !spinner) return;
    auto* band = static_cast<StripNode*>(strip.get());
    auto* wheel = static_cast<SpinnerNode*>(spinner.get());
    band->SetVisible(count_ != 0);
    wheel->SetVisible(false);
    wheel->Stop();
    wheel->ShowImage(0);
    if (count_ != 0) wheel->Start();  // shows it and loops from frame 0
    band->SetText(Localization::Instance().Get(14));
}

}  // namespace zentri
