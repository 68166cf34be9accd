#include "ui/platform/image_scaler.h"

#include <algorithm>
#include <cmath>

#include "ui/surface.h"

namespace zentri {
namespace {

// The intermediate picture (one pass done) holds four floats a pixel; beyond this many bytes
// the resize is refused rather than allocated.
constexpr int64_t kMaxWorkBytes = int64_t{96} << 20;

float Cubic(float x) {
    constexpr float a = -0.5f;  // Catmull-Rom
    x = std::fabs(x);
    if (x < 1.0f) return ((a + 2.0f) * x - (a + 3.0f)) * x * x + 1.0f;
    if (x < 2.0f) return ((a * x - 5.0f * a) * x + 8.0f * a) * x - 4.0f * a;
    return 0.0f;
}

// The taps of one output position along one axis: the first source index and its weights
// (normalised to sum 1; indexes beyond the edges are folded onto the edge pixels).
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> MakeTaps(int src, int dst) {
    std::vector<Taps> all(static_cast<size_t>(dst));
    double scale = static_cast<double>(src) / dst;
    double widen = std::max(1.0, scale);
    double support = 2.0 * widen;
    for (int i = 0; i < dst; ++i) {
        double centre = (i + 0.5) * scale - 0.5;
        int left = static_cast<int>(std::ceil(centre - support));
        int right = static_cast<int>(std::floor(centre + support));
        int first = std::clamp(left, 0, src - 1), last = std::clamp(right, 0, src - 1);
        Taps& t = all[i];
        t.first = first;
        t.weights.assign(static_cast<size_t>(last - first + 1), 0.0f);
        float sum = 0.0f;
        for (int j = left; j <= right; ++j) {
            float w = Cubic(static_cast<float>((j - centre) / widen));
            t.weights[std::clamp(j, 0, src - 1) - first] += w;
            sum += w;
        }
        if (sum != 0.0f)
            for (float& w : t.weights)
                w /= sum;
    }
    return all;
}

struct Rgba {
    float r, g, b, a;
};

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

bool ScaleBicubic(const std::vector<uint16_t>& pixels, const std::vector<uint8_t>& alpha, int w,
                  int h, int dw, int dh, DecodedImage& out) {
    out = DecodedImage{};
    if (w <= 0 || h <= 0 || pixels.size() < static_cast<size_t>(w) * h) return false;
    if (!ImageSizeAllowed(dw, dh)) return false;
    if (int64_t{dw} * h * static_cast<int64_t>(sizeof(Rgba)) > kMaxWorkBytes) return false;
    bool hasAlpha = alpha.size() >= pixels.size();

    // Horizontal pass into a dw x h picture of premultiplied floats.
    std::vector<Taps> across = MakeTaps(w, dw), down = MakeTaps(h, dh);
    std::vector<Rgba> source(static_cast<size_t>(w)), mid(static_cast<size_t>(dw) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            size_t at = static_cast<size_t>(y) * w + x;
            Color c = From565(pixels[at]);
            float a = hasAlpha ? alpha[at] / 255.0f : 1.0f;
            source[x] = {c.r * a, c.g * a, c.b * a, a};
        }
        Rgba* row = &mid[static_cast<size_t>(y) * dw];
        for (int x = 0; x < dw; ++x) {
            Rgba sum{0, 0, 0, 0};
            const Taps& t = across[x];
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const Rgba& s = source[t.first + k];
                float wk = t.weights[k];
                sum.r += s.r * wk, sum.g += s.g * wk, sum.b += s.b * wk, sum.a += s.a * wk;
            }
            row[x] = sum;
        }
    }

    // Vertical pass, then back to 8 bits, unpremultiplied, and to 565.
    out.width = dw;
    out.height = dh;
    out.pixels.resize(static_cast<size_t>(dw) * dh);
    if (hasAlpha) out.alpha.resize(out.pixels.size());
    std::vector<Rgba> line(static_cast<size_t>(dw));
    for (int y = 0; y < dh; ++y) {
        std::fill(line.begin(), line.end(), Rgba{0, 0, 0, 0});
        const Taps& t = down[y];
        for (size_t k = 0; k < t.weights.size(); ++k) {
            const Rgba* src = &mid[static_cast<size_t>(t.first + k) * dw];
            float wk = t.weights[k];
            for (int x = 0; x < dw; ++x) {
                line[x].r += src[x].r * wk, line[x].g += src[x].g * wk;
                line[x].b += src[x].b * wk, line[x].a += src[x].a * wk;
            }
        }
        for (int x = 0; x < dw; ++x) {
            size_t at = static_cast<size_t>(y) * dw + x;
            const Rgba& p = line[x];
            float a = std::clamp(p.a, 0.0f, 1.0f);
            float unpremultiply = hasAlpha ? (a > 1e-6f ? 1.0f / p.a : 0.0f) : 1.0f;
            Color c{ToByte(p.r * unpremultiply), ToByte(p.g * unpremultiply),
                    ToByte(p.b * unpremultiply)};
            out.pixels[at] = To565(c);
            if (hasAlpha) out.alpha[at] = ToByte(a * 255.0f);
        }
    }
    return true;
}

}  // namespace zentri
