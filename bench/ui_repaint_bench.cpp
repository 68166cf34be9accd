// One full repaint of a 480 x 640 screen holding a list page, through the UI server's paint:
// clear to white, then the object tree back to front. The page is a header and eight rows, each
// with an icon (an image with an alpha edge), a title and a second line of text, five stars and
// an arrow, built from GObjects that draw with the surface's blits and fills and the text
// engine, as the widgets do.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/temp_device_main.h"
#include "platform/text.h"
#include "ui/font_manager.h"
#include "ui/gobject.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/text_context.h"
#include "ui/platform/windows_mobile_ui_server.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

constexpr int kWidth = 480, kHeight = 640, kBase = 26;  // the 192 dpi handset
constexpr int kHeaderHeight = 64, kRowHeight = 72, kRows = 8;

// An image whose alpha comes from a coverage function of the pixel centre (0..1).
template <class F>
shared_ptr<Surface> MakeImage(int w, int h, Color color, F coverage) {
    shared_ptr<WMSurface> image(new WMSurface);
    image->Create(w, h, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            double c = std::clamp(coverage(x + 0.5, y + 0.5), 0.0, 1.0);
            // A little shading so the pixels are not all alike.
            Color shaded{static_cast<uint8_t>(color.r * (0.7 + 0.3 * y / h)), color.g,
                         static_cast<uint8_t>(color.b * (0.7 + 0.3 * x / w))};
            image->pixels[i] = To565(shaded);
            image->alpha[i] = static_cast<uint8_t>(std::lround(c * 255));
        }
    return image;
}

shared_ptr<Surface> IconImage() {
    // A rounded square with a soft edge, as application icons are.
    return MakeImage(64, 64, Color{40, 120, 220}, [](double x, double y) {
        double dx = std::max(std::abs(x - 32) - 20, 0.0), dy = std::max(std::abs(y - 32) - 20, 0.0);
        return 12.0 - std::sqrt(dx * dx + dy * dy) + 0.5;
    });
}

shared_ptr<Surface> StarImage() {
    return MakeImage(20, 20, Color{250, 190, 20}, [](double x, double y) {
        double a = std::atan2(y - 10, x - 10), r = std::hypot(x - 10, y - 10);
        double edge = 5.0 + 4.5 * std::pow(std::abs(std::cos(2.5 * a)), 2);
        return edge - r + 0.5;
    });
}

shared_ptr<Surface> ArrowImage() {
    // A ">" of 2.5 pixels' thickness.
    return MakeImage(16, 24, Color{120, 120, 130}, [](double x, double y) {
        double d = std::abs(x - (4 + 0.66 * (12 - std::abs(y - 12))));
        return 2.5 - d + 0.5;
    });
}

class FillNode : public GObject {
  public:
    FillNode(Color color, int opacity) : color_(color), opacity_(opacity) {}
    void Draw(Surface& s) override { s.FillRect(0, 0, Width(), Height(), color_, opacity_); }

  private:
    Color color_;
    int opacity_;
};

class ImageNode : public GObject {
  public:
    explicit ImageNode(shared_ptr<Surface> image) : image_(std::move(image)) {}
    void Draw(Surface& s) override { s.Blit(0, 0, image_->width, image_->height, *image_); }

  private:
    shared_ptr<Surface> image_;
};

// Five stars, the ones beyond the rating faint.
class StarsNode : public GObject {
  public:
    StarsNode(shared_ptr<Surface> star, int rating) : star_(std::move(star)), rating_(rating) {}
    void Draw(Surface& s) override {
        for (int i = 0; i < 5; ++i)
            s.BlitAlpha(i * (star_->width + 2), 0, star_->width, star_->height, *star_,
                        i < rating_ ? 255 : 80);
    }

  private:
    shared_ptr<Surface> star_;
    int rating_;
};

class TextNode : public GObject {
  public:
    TextNode(std::u16string text, int weight, int height, Color color)
        : text_(std::move(text)),
          font_(FontManager::Instance().GetFont(weight, height, false)),
          color_(color) {}
    void Draw(Surface& s) override {
        TextContext dc(s);
        dc.SelectFont(font_);
        dc.SetTextColor(color_);
        Rect box{0, 0, Width(), Height()};
        dc.DrawText(text_, box,
                    TextFormat::Left | TextFormat::VCenter | TextFormat::SingleLine |
                        TextFormat::EndEllipsis);
    }

  private:
    std::u16string text_;
    Font* font_;
    Color color_;
};

template <class T, class... A>
GObjectPtr Add(const GObjectPtr& parent, Rect r, A&&... args) {
    GObjectPtr node(new T(std::forward<A>(args)...));
    node->SetRect(r);
    parent->AddChild(node);
    return node;
}

GObjectPtr ListPage() {
    GObjectPtr root(new GObject);
    root->SetSize(kWidth, kHeight);
    GObjectPtr header =
        Add<FillNode>(root, Rect{0, 0, kWidth, kHeaderHeight}, Color{30, 60, 110}, 255);
    Add<TextNode>(header, Rect{12, 0, kWidth - 24, kHeaderHeight}, u"Top applications", 600,
                  kBase * 5 / 4, Color{255, 255, 255});
    shared_ptr<Surface> icon = IconImage(), star = StarImage(), arrow = ArrowImage();
    for (int i = 0; i < kRows; ++i) {
        Rect rowRect{0, kHeaderHeight + i * kRowHeight, kWidth, kRowHeight};
        GObjectPtr row =
            Add<FillNode>(root, rowRect, i % 2 ? Color{240, 242, 246} : Color{255, 255, 255}, 255);
        Add<FillNode>(row, Rect{0, kRowHeight - 1, kWidth, 1}, Color{200, 200, 210}, 255);
        Add<ImageNode>(row, Rect{4, 4, 64, 64}, icon);
        std::u16string n = platform::Utf8ToUtf16(std::to_string(i + 1));
        std::u16string title = u"Application number ", second = u"Developer ";
        title += n;
        second += n;
        second += u" \u00b7 Utilities";
        Add<TextNode>(row, Rect{76, 4, kWidth - 76 - 40, 32}, title, 600, kBase, Color{20, 20, 20});
        Add<TextNode>(row, Rect{76, 38, kWidth - 76 - 160, 30}, second, 400, kBase * 3 / 4,
                      Color{90, 90, 100});
        Add<StarsNode>(row, Rect{kWidth - 150, 44, 110, 20}, star, i % 6);
        Add<ImageNode>(row, Rect{kWidth - 28, 24, 16, 24}, arrow);
    }
    return root;
}

// One repaint of the whole screen per iteration, exactly as a paint message does it.
void BM_FullRepaintListPage(benchmark::State& state) {
    WindowsMobileUIServer server;
    server.Resize(kWidth, kHeight);
    server.SetRoot(ListPage());
    server.Tick(false, true);  // glyph caches warm
    if (const char* file = std::getenv("ZENTRI_BENCH_SHOT"))
        SavePng(*server.DrawingSurface(), file);
    for (auto _ : state) {
        server.Invalidate();
        server.Tick(false, true);
        benchmark::DoNotOptimize(server.DrawingSurface()->pixels.data());
    }
}
BENCHMARK(BM_FullRepaintListPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentri

int main(int argc, char** argv) {
    return RunBenchmarksOnTempDevice(argc, argv, "zentri-bench");
}
