// The surface's pixel loops side by side with pixman on the same work (a 480 x 640 RGB565
// destination), in megapixels per second, and text drawing with a warm glyph cache. At the
// end a table gives each operation's rate as a share of pixman's, for the portable loops and
// for the SIMD ones that the program uses.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "ui/font_manager.h"
#include "ui/pixel_ops.h"
#include "ui/platform/text_context.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

constexpr int kW = 480, kH = 640;
constexpr double kMpix = kW * kH / 1e6;

// The sources: a picture with an alpha plane shaped like icons (transparent corners, an opaque
// middle, anti-aliased rims), and the same colours opaque.
struct Sources {
    WMSurface icon;         // 565 + alpha plane
    WMSurface opaque;       // 565 only
    WMSurface translucent;  // 565 + alpha everywhere between 1 and 254
    std::vector<uint32_t> iconArgb, opaqueArgb, translucentArgb;  // premultiplied a8r8g8b8

    Sources() {
        icon.Create(kW, kH, true);
        opaque.Create(kW, kH, false);
        translucent.Create(kW, kH, true);
        iconArgb.resize(kW * kH);
        opaqueArgb.resize(kW * kH);
        translucentArgb.resize(kW * kH);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                int i = y * kW + x;
                uint8_t r = uint8_t(x * 255 / kW), g = uint8_t(y * 255 / kH),
                        b = uint8_t((x + y) & 0xFF);
                // 48-pixel icons: a disc with a 3-pixel soft rim.
                double cx = x % 48 - 23.5, cy = y % 48 - 23.5, d = std::sqrt(cx * cx + cy * cy);
                uint8_t a = uint8_t(std::clamp((22.0 - d) / 3.0, 0.0, 1.0) * 255);
                uint8_t t = uint8_t(1 + (x * 7 + y * 3) % 254);
                uint16_t p = To565({r, g, b});
                icon.pixels[i] = opaque.pixels[i] = translucent.pixels[i] = p;
                icon.alpha[i] = a;
                translucent.alpha[i] = t;
                // pixman works on the 8-bit colours that the 565 pixels stand for.
                Color c = From565(p);
                auto premul = [&](uint8_t alpha) {
                    return uint32_t(alpha) << 24 | uint32_t(c.r * alpha / 255) << 16 |
                           uint32_t(c.g * alpha / 255) << 8 | uint32_t(c.b * alpha / 255);
                };
                iconArgb[i] = premul(a);
                opaqueArgb[i] = premul(255);
                translucentArgb[i] = premul(t);
            }
    }
};

Sources& Src() {
    static Sources s;
    return s;
}

WMSurface& Dst() {
    static WMSurface d = [] {
        WMSurface s;
        s.Create(kW, kH, false);
        for (size_t i = 0; i < s.pixels.size(); ++i)
            s.pixels[i] = uint16_t(i * 40503u);
        return s;
    }();
    return d;
}

void SetRate(benchmark::State& state) {
    state.counters["Mpix/s"] =
        benchmark::Counter(kMpix, benchmark::Counter::kIsIterationInvariantRate);
}

// ---- pixman ----

struct Pixman {
    pixman_image_t* dst;
    Pixman() {
        dst = pixman_image_create_bits(PIXMAN_r5g6b5, kW, kH,
                                       reinterpret_cast<uint32_t*>(Dst().pixels.data()), kW * 2);
    }
    ~Pixman() { pixman_image_unref(dst); }
    static pixman_image_t* Argb(std::vector<uint32_t>& px) {
        return pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, px.data(), kW * 4);
    }
    static pixman_image_t* Solid(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        // Premultiplied 16-bit channels.
        pixman_color_t c{uint16_t(r * a / 255 * 257), uint16_t(g * a / 255 * 257),
                         uint16_t(b * a / 255 * 257), uint16_t(a * 257)};
        return pixman_image_create_solid_fill(&c);
    }
};

void PixmanComposite(benchmark::State& state, pixman_op_t op, pixman_image_t* src,
                     pixman_image_t* mask) {
    Pixman p;
    for (auto _ : state) {
        pixman_image_composite32(op, src, mask, p.dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

// ---- the program's loops ----

// Every row of the destination through one row function.
template <class Row>
void Rows(benchmark::State& state, Row row) {
    WMSurface& d = Dst();
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y)
            row(&d.pixels[static_cast<size_t>(y) * kW], static_cast<size_t>(y) * kW);
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

// The operations, each as (our portable rows, our SIMD rows, pixman).
struct Op {
    std::string name;
    std::function<void(benchmark::State&, const pixel::RowOps&)> ours;
    std::function<void(benchmark::State&)> pixman;
};

std::vector<Op> Ops() {
    const uint16_t orange = To565({255, 128, 0});
    std::vector<Op> ops;
    // Solid fill and copy are the surface's own calls (the same for every kind of row loops):
    // a whole-width fill or copy is one run.
    ops.push_back({"solid fill",
                   [](benchmark::State& s, const pixel::RowOps& o) {
                       WMSurface& d = Dst();
                       for (auto _ : s) {
                           for (int y = 0; y < kH; ++y)
                               o.fillSolid(&d.pixels[static_cast<size_t>(y) * kW], kW, 0x1234);
                           benchmark::ClobberMemory();
                       }
                       SetRate(s);
                   },
                   [](benchmark::State& s) {
                       for (auto _ : s) {
                           pixman_fill(reinterpret_cast<uint32_t*>(Dst().pixels.data()), kW / 2, 16,
                                       0, 0, kW, kH, 0x1234);
                           benchmark::ClobberMemory();
                       }
                       SetRate(s);
                   }});
    ops.push_back({"fill at opacity 255 (computed)",
                   [=](benchmark::State& s, const pixel::RowOps& o) {
                       Rows(s, [&](uint16_t* d, size_t) { o.fillBlend(d, kW, orange, 255); });
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* solid = Pixman::Solid(255, 128, 0, 255);
                       PixmanComposite(s, PIXMAN_OP_OVER, solid, nullptr);
                       pixman_image_unref(solid);
                   }});
    ops.push_back({"fill at opacity 128",
                   [=](benchmark::State& s, const pixel::RowOps& o) {
                       Rows(s, [&](uint16_t* d, size_t) { o.fillBlend(d, kW, orange, 128); });
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* solid = Pixman::Solid(255, 128, 0, 128);
                       PixmanComposite(s, PIXMAN_OP_OVER, solid, nullptr);
                       pixman_image_unref(solid);
                   }});
    ops.push_back({"565 copy",
                   [](benchmark::State& s, const pixel::RowOps&) {
                       WMSurface& d = Dst();
                       for (auto _ : s) {
                           d.Blit(0, 0, kW, kH, Src().opaque);
                           benchmark::ClobberMemory();
                       }
                       SetRate(s);
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* src = pixman_image_create_bits(
                           PIXMAN_r5g6b5, kW, kH,
                           reinterpret_cast<uint32_t*>(Src().opaque.pixels.data()), kW * 2);
                       PixmanComposite(s, PIXMAN_OP_SRC, src, nullptr);
                       pixman_image_unref(src);
                   }});
    ops.push_back({"32-bit icons onto 565",
                   [](benchmark::State& s, const pixel::RowOps& o) {
                       const WMSurface& src = Src().icon;
                       Rows(s, [&](uint16_t* d, size_t at) {
                           o.blendAlpha(d, &src.pixels[at], &src.alpha[at], kW);
                       });
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* src = Pixman::Argb(Src().iconArgb);
                       PixmanComposite(s, PIXMAN_OP_OVER, src, nullptr);
                       pixman_image_unref(src);
                   }});
    ops.push_back({"32-bit translucent onto 565",
                   [](benchmark::State& s, const pixel::RowOps& o) {
                       const WMSurface& src = Src().translucent;
                       Rows(s, [&](uint16_t* d, size_t at) {
                           o.blendAlpha(d, &src.pixels[at], &src.alpha[at], kW);
                       });
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* src = Pixman::Argb(Src().translucentArgb);
                       PixmanComposite(s, PIXMAN_OP_OVER, src, nullptr);
                       pixman_image_unref(src);
                   }});
    ops.push_back(
        {"blit at opacity 128",
         [](benchmark::State& s, const pixel::RowOps& o) {
             const WMSurface& src = Src().opaque;
             Rows(s, [&](uint16_t* d, size_t at) { o.blendConst(d, &src.pixels[at], kW, 128); });
         },
         [](benchmark::State& s) {
             pixman_image_t* src = Pixman::Argb(Src().opaqueArgb);
             pixman_image_t* mask = Pixman::Solid(0, 0, 0, 128);
             PixmanComposite(s, PIXMAN_OP_OVER, src, mask);
             pixman_image_unref(mask);
             pixman_image_unref(src);
         }});
    ops.push_back({"32-bit icons at opacity 128",
                   [](benchmark::State& s, const pixel::RowOps& o) {
                       const WMSurface& src = Src().icon;
                       Rows(s, [&](uint16_t* d, size_t at) {
                           o.blendAlphaOpacity(d, &src.pixels[at], &src.alpha[at], kW, 128);
                       });
                   },
                   [](benchmark::State& s) {
                       pixman_image_t* src = Pixman::Argb(Src().iconArgb);
                       pixman_image_t* mask = Pixman::Solid(0, 0, 0, 128);
                       PixmanComposite(s, PIXMAN_OP_OVER, src, mask);
                       pixman_image_unref(mask);
                       pixman_image_unref(src);
                   }});
    return ops;
}

// ---- text ----

const std::u16string kSentence = u"Zentri catalogue: 64 applications, reviews & ratings";

void Text(benchmark::State& state, int weight, int height) {
    WMSurface s;
    s.Create(kW, 100, false);
    TextContext dc = s.BeginText();
    dc.SelectFont(FontManager::Instance().GetFont(weight, height, false));
    Rect r{0, 10, kW, 60};
    dc.DrawText(kSentence, r, TextFormat::SingleLine);  // warm the cache
    size_t glyphs = 0;
    for (char16_t c : kSentence)
        glyphs += c != u' ';
    for (auto _ : state) {
        r = {0, 10, kW, 60};
        dc.DrawText(kSentence, r, TextFormat::SingleLine);
        benchmark::ClobberMemory();
    }
    state.counters["glyphs/s"] =
        benchmark::Counter(double(glyphs), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["ns/glyph"] =
        benchmark::Counter(double(glyphs), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

void Measure(benchmark::State& state) {
    WMSurface s;
    TextContext dc(s);
    dc.SelectFont(FontManager::Instance().GetFont(400, 26, false));
    for (auto _ : state)
        benchmark::DoNotOptimize(dc.TextWidth(kSentence));
    state.counters["chars/s"] =
        benchmark::Counter(double(kSentence.size()), benchmark::Counter::kIsIterationInvariantRate);
}

// Keeps the pixel rates of every run for the closing table: with repetitions, the best one
// (on a shared machine the best run is the one least disturbed by others).
class Collector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto it = run.counters.find("Mpix/s");
            if (it == run.counters.end()) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "max") continue;
            std::string name = run.run_name.str();
            rates[name] = std::max(rates[name], it->second.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

template <class... Args>
void Register(const std::string& name, Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->ComputeStatistics(
            "max",
            [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
        ->ComputeStatistics("min", [](const std::vector<double>& v) {
            return *std::min_element(v.begin(), v.end());
        });
}

}  // namespace
}  // namespace zentri

int main(int argc, char** argv) {
    using namespace zentri;
    benchmark::Initialize(&argc, argv);
    std::vector<Op> ops = Ops();
    std::vector<const pixel::RowOps*> simd = pixel::SimdOps();
    for (const Op& op : ops) {
        Register("pixman/" + op.name, op.pixman);
        Register("portable/" + op.name,
                 [&op](benchmark::State& s) { op.ours(s, pixel::PortableOps()); });
        for (const pixel::RowOps* o : simd)
            Register(std::string(o->name) + "/" + op.name,
                     [&op, o](benchmark::State& s) { op.ours(s, *o); });
    }
    Register("text/regular 26px", Text, 400, 26);
    Register("text/bold 26px", Text, 600, 26);
    Register("text/regular 13px", Text, 400, 13);
    Register("text/measure 26px", Measure);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::vector<std::string> kinds{"portable"};
    for (const pixel::RowOps* o : simd)
        kinds.push_back(o->name);
    std::printf("\n%-32s %9s", "operation (Mpix/s)", "pixman");
    for (const std::string& k : kinds)
        std::printf(" %9s", k.c_str());
    for (const std::string& k : kinds)
        std::printf(" %9s", (k.substr(0, 4) + "/pix").c_str());
    std::printf("\n");
    for (const Op& op : ops) {
        double px = collector.rates["pixman/" + op.name];
        if (px <= 0) continue;
        std::printf("%-32s %9.0f", op.name.c_str(), px);
        for (const std::string& k : kinds)
            std::printf(" %9.0f", collector.rates[k + "/" + op.name]);
        for (const std::string& k : kinds)
            std::printf(" %9.2f", collector.rates[k + "/" + op.name] / px);
        std::printf("\n");
    }
    benchmark::Shutdown();
    return 0;
}
