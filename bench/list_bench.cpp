// A long list in a scroll view on the 480 x 640 handset at 192 dpi: N rows, each a push button
// with a row background holding an icon, a title, a subtitle and an arrow, stacked by a
// ListLayout inside a TVScroll that fills the screen.
//   BM_ListBuild/N       create the rows and add them in one suspended batch, laid out once
//   BM_ListRepaint/N     one full repaint with the content scrolled to the middle
//   BM_ListFlingFrame/N  one 40 ms frame of a running fling: the content moves, the dirty area
//                        is repainted
// Drawing and hit testing cost what is on screen, so the 10000-row figures should stay close to
// the 1000-row ones.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/temp_device_main.h"
#include "platform/text.h"
#include "ui/display_metrics.h"
#include "ui/performance_frequency.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/windows_mobile_ui_server.h"
#include "ui/platform/wm_surface.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/list_layout.h"
#include "widgets/push_button.h"
#include "widgets/rect_drawer_up_down.h"
#include "widgets/two_stage_tree_item_layout.h"
#include "widgets/vscroll.h"

namespace zentri {
namespace {

constexpr int kWidth = 480, kHeight = 640;
using Row = TPushButton<TRectDrawerUpDown<TImage<GObject>>>;
using Scroll = TVScroll<GObject>;

// An image whose alpha comes from a coverage function of the pixel centre (0..1).
template <class F>
shared_ptr<Surface> MakeImage(int w, int h, Color color, bool withAlpha, F coverage) {
    shared_ptr<WMSurface> image(new WMSurface);
    image->Create(w, h, withAlpha);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            Color shaded{static_cast<uint8_t>(color.r * (0.8 + 0.2 * y / h)), color.g,
                         static_cast<uint8_t>(color.b * (0.8 + 0.2 * x / w))};
            image->pixels[i] = To565(shaded);
            if (withAlpha) {
                double c = std::clamp(coverage(x + 0.5, y + 0.5), 0.0, 1.0);
                image->alpha[i] = static_cast<uint8_t>(std::lround(c * 255));
            }
        }
    return image;
}

struct Images {
    shared_ptr<Surface> normal = MakeImage(kWidth, 90, Color{250, 250, 252}, false, Opaque);
    shared_ptr<Surface> pushed = MakeImage(kWidth, 90, Color{200, 220, 250}, false, Opaque);
    // A rounded square with a soft edge, as application icons are.
    shared_ptr<Surface> icon = MakeImage(64, 64, Color{40, 120, 220}, true, [](double x, double y) {
        double dx = std::max(std::abs(x - 32) - 20, 0.0), dy = std::max(std::abs(y - 32) - 20, 0.0);
        return 12.0 - std::sqrt(dx * dx + dy * dy) + 0.5;
    });
    // A ">" of 2.5 pixels' thickness.
    shared_ptr<Surface> arrow =
        MakeImage(16, 24, Color{120, 120, 130}, true, [](double x, double y) {
            return 2.5 - std::abs(x - (4 + 0.66 * (12 - std::abs(y - 12)))) + 0.5;
        });
    static double Opaque(double, double) { return 1.0; }
};

GObjectPtr MakeRow(const Images& images, int index, int base) {
    shared_ptr<Row> row(new Row);
    row->AddImage(Row::kPushedImage, images.pushed);
    row->AddImage(Row::kNormalImage, images.normal);
    row->ShowImage(Row::kNormalImage);
    row->OnTouch().Add([](GObjectPtr&, const Touch&) {});
    auto icon = MakeShared<TImage<GObject>>();
    icon->AddImage(0, images.icon);
    icon->ShowImage(0);
    std::u16string n = platform::Utf8ToUtf16(std::to_string(index + 1));
    auto title = MakeShared<TLabel<GObject>>();
    title->SetFont(600, base);
    title->SetText(u"Application number " + n);
    auto subtitle = MakeShared<TLabel<GObject>>();
    subtitle->SetFont(400, base * 3 / 4);
    subtitle->SetTextColor(Color{90, 90, 100});
    subtitle->SetText(u"Developer " + n + u" \u00b7 Utilities");
    auto arrow = MakeShared<TImage<GObject>>();
    arrow->AddImage(0, images.arrow);
    arrow->ShowImage(0);
    row->AddChild(icon, TwoStageTreeItemLayout::kIcon);
    row->AddChild(title, TwoStageTreeItemLayout::kTitle);
    row->AddChild(subtitle, TwoStageTreeItemLayout::kSubtitle);
    row->AddChild(arrow, TwoStageTreeItemLayout::kArrow);
    row->SetLayout(new TwoStageTreeItemLayout(base / 2, 16, 24));
    return row;
}

// The screen: a UI server drawing into its surface, a root, and the scroll view filling it.
struct ListScreen {
    ListScreen() {
        PerformanceFrequency::Instance().SetSource(clock);
        server.Resize(kWidth, kHeight);
        server.SetRoot(root);
        root->AddChild(view);
        view->SetRect(Rect{0, 0, kWidth, kHeight});
        view->Content().SetLayout(layout);
    }
    ~ListScreen() { PerformanceFrequency::Instance().SetSource(nullptr); }

    void AddRows(const Images& images, int n) {
        layout->Suspend();
        Scroll::ContentNode& content = view->Content();
        for (int i = 0; i < n; ++i)
            content.AddChild(MakeRow(images, i, base));
        layout->Resume();
    }
    // Lets every animation end and paints what is left.
    void Settle() {
        for (int i = 0; i < 1000 && server.HasAnimators(); ++i)
            Frame();
        server.Tick(false, true);
    }
    void Frame() {
        clock->AdvanceMs(40);
        server.Tick(true, true);
    }
    void ScrollToMiddle() {
        Scroll::ContentNode& content = view->Content();
        content.SetPosition(0, -(content.Height() - kHeight) / 2);
        Settle();
    }
    // A flick upwards at the speed limit, as a finger does it.
    void StartFling() {
        server.DispatchTouch(Touch::kDown, 100, 600);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kMove, 100, 400);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kMove, 100, 100);
        clock->AdvanceMs(5);
        server.DispatchTouch(Touch::kUp, 100, 100);
    }

    std::shared_ptr<ManualCounter> clock = std::make_shared<ManualCounter>(1000000);
    int base = GetDisplayMetrics().baseFontHeight;
    // The icon with half a base unit above and below it.
    int rowHeight = GetDisplayMetrics().iconWidth + 2 * (base / 2);
    WindowsMobileUIServer server;
    GObjectPtr root = MakeShared<GObject>();
    shared_ptr<Scroll> view = MakeShared<Scroll>();
    shared_ptr<ListLayout> layout = MakeShared<ListLayout>(rowHeight, 0);
};

void BM_ListBuild(benchmark::State& state) {
    Images images;
    for (auto _ : state) {
        state.PauseTiming();
        auto screen = std::make_unique<ListScreen>();
        state.ResumeTiming();
        screen->AddRows(images, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(screen->view->Content().Height());
        state.PauseTiming();
        screen.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListBuild)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ListRepaint(benchmark::State& state) {
    Images images;
    ListScreen screen;
    screen.AddRows(images, static_cast<int>(state.range(0)));
    screen.ScrollToMiddle();
    // ZENTRI_BENCH_SHOT=FILE.png keeps a picture of the screen to look at.
    if (const char* file = std::getenv("ZENTRI_BENCH_SHOT"))
        SavePng(*screen.server.DrawingSurface(), file);
    for (auto _ : state) {
        screen.server.Invalidate();
        screen.server.Tick(false, true);
        benchmark::DoNotOptimize(screen.server.DrawingSurface()->pixels.data());
    }
}
BENCHMARK(BM_ListRepaint)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ListFlingFrame(benchmark::State& state) {
    Images images;
    ListScreen screen;
    screen.AddRows(images, static_cast<int>(state.range(0)));
    screen.ScrollToMiddle();
    const int middle = screen.view->Content().Y();
    for (auto _ : state) {
        if (!screen.view->Content().Moving()) {
            state.PauseTiming();
            screen.view->Content().SetPosition(0, middle);
            screen.Settle();
            screen.StartFling();
            state.ResumeTiming();
        }
        screen.Frame();
        benchmark::DoNotOptimize(screen.server.DrawingSurface()->pixels.data());
    }
}
BENCHMARK(BM_ListFlingFrame)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentri

int main(int argc, char** argv) {
    return RunBenchmarksOnTempDevice(argc, argv, "zentri-list-bench");
}
