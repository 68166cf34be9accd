#pragma once
// Small stand-in pictures for the widgets' images, drawn in code and written where the image
// pool finds them, and the comparison of a rendering with its committed reference picture.
// Every test that installs the art installs the same pictures, so the pool's cache (kept for
// the whole run of the test program) always holds these.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/temp_device.h"
#include "tests/ui/image_fixtures.h"
#include "ui/image_pool.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {

// 0xAARRGGBB of `rgb` at coverage a (0..1).
inline uint32_t Covered(uint32_t rgb, double a) {
    return (static_cast<uint32_t>(std::clamp(a, 0.0, 1.0) * 255 + 0.5) << 24) | rgb;
}

// The share of the pixel (x, y) inside the shape, sampled 4 x 4.
template <class Inside>
double Coverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
    return hits / 16.0;
}

// A five-pointed star filling a size x size square.
inline bool InStar(double px, double py, int size) {
    double cx = size / 2.0, cy = size / 2.0 + size * 0.04, outer = size * 0.5, inner = outer * 0.4;
    double vx[10], vy[10];
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 ? inner : outer, angle = -M_PI / 2 + i * M_PI / 5;
        vx[i] = cx + r * std::cos(angle);
        vy[i] = cy + r * std::sin(angle);
    }
    bool in = false;
    for (int i = 0, j = 9; i < 10; j = i++)
        if ((vy[i] > py) != (vy[j] > py) &&
            px < (vx[j] - vx[i]) * (py - vy[i]) / (vy[j] - vy[i]) + vx[i])
            in = !in;
    return in;
}

// A rectangle with rounded corners of radius r.
inline bool InRounded(double px, double py, int w, int h, double r) {
    double dx = std::max({r - px, px - (w - r), 0.0}), dy = std::max({r - py, py - (h - r), 0.0});
    return dx * dx + dy * dy <= r * r;
}

inline std::string Png(const PngSpec& spec) {
    std::vector<uint8_t> bytes = MakePng(spec);
    return std::string(bytes.begin(), bytes.end());
}

// Writes the stand-in art into the program folder of `device` and points the pool there.
inline void InstallWidgetArt(const TempDevice& device) {
    const char* folder = "\\Program Files\\Zentri\\";
    auto put = [&](const char* name, const PngSpec& spec) {
        device.WriteFile(std::string(folder) + name, Png(spec));
    };
    constexpr uint32_t gold = 0xF5B800, grey = 0xB4B4B4;
    put("dialog.png", RgbaSpec(48, 32, [](int x, int y) {
            bool rim = x < 2 || y < 2 || x > 45 || y > 29;
            return Covered(rim ? 0x8FA8C8 : 0x2A3F5F, Coverage(x, y, [](double px, double py) {
                               return InRounded(px, py, 48, 32, 6);
                           }));
        }));
    auto star = [](auto colorAt) {
        return RgbaSpec(32, 32, [=](int x, int y) {
            return Covered(colorAt(x),
                           Coverage(x, y, [](double px, double py) { return InStar(px, py, 32); }));
        });
    };
    put("rate_star.png", star([=](int) { return gold; }));
    put("rate_halfstar.png", star([=](int x) { return x < 16 ? gold : grey; }));
    put("rate_blankstar.png", star([=](int) { return grey; }));
    auto pill = [](uint32_t rgb) {
        return RgbaSpec(32, 16, [=](int x, int y) {
            return Covered(rgb, Coverage(x, y, [](double px, double py) {
                               return InRounded(px, py, 32, 16, 5);
                           }));
        });
    };
    put("switch_bg_on.png", pill(0x3AA845));
    put("switch_bg_off.png", pill(0xD8D8D8));
    put("switch_toggler.png", RgbaSpec(16, 16, [](int x, int y) {
            double d = std::hypot(x + 0.5 - 8, y + 0.5 - 8);
            return Covered(d > 6.5 ? 0x808080 : 0xFFFFFF, std::clamp(8 - d, 0.0, 1.0));
        }));
    ImagePool::Instance().SetFolder(u"\\Program Files\\Zentri\\");
}

// Compares a rendering with tests/widgets/reference/<name>.png. The rendering is left in the
// build folder as widgets-render/<name>.png; ZENTRI_UPDATE_REFERENCE=1 writes it over the
// reference instead. Small differences (another FreeType's anti-aliasing) pass; a moved or
// missing element does not.
inline void ExpectMatchesReference(const Surface& rendered, const std::string& name) {
    std::filesystem::path out = BuildDir() / "widgets-render" / (name + ".png");
    std::filesystem::create_directories(out.parent_path());
    ASSERT_TRUE(SavePng(rendered, out));
    std::filesystem::path reference = SourceDir() / "tests/widgets/reference" / (name + ".png");
    if (const char* update = std::getenv("ZENTRI_UPDATE_REFERENCE"); update && *update == '1') {
        ASSERT_TRUE(SavePng(rendered, reference));
        GTEST_SKIP() << "reference written to " << reference;
    }
    std::ifstream in(reference, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    WMSurface expected;
    ASSERT_TRUE(expected.LoadBuffer(bytes.data(), bytes.size())) << reference;
    ASSERT_EQ(expected.width, rendered.width);
    ASSERT_EQ(expected.height, rendered.height);
    int far = 0;
    double total = 0;
    for (size_t i = 0; i < rendered.pixels.size(); ++i) {
        Color a = From565(rendered.pixels[i]), b = From565(expected.pixels[i]);
        int d = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        total += d;
        far += d > 48;
    }
    double share = static_cast<double>(far) / rendered.pixels.size();
    EXPECT_LT(share, 0.003) << far << " pixels differ clearly; see " << out;
    EXPECT_LT(total / rendered.pixels.size(), 1.5) << "see " << out;
}

}  // namespace zentri::test
