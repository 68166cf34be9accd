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
#include "tests/ui/reference_image.h"
#include "ui/image_pool.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {

// An RGBA picture of `rgb(x)` wherever `inside(x, y)` holds (anti-aliased, 4 x 4 samples).
template <class Inside, class ColorAt>
std::string Shape(int w, int h, Inside inside, ColorAt rgb) {
    PngSpec spec = RgbaSpec(w, h, [&](int x, int y) {
        int hits = 0;
        for (int s = 0; s < 16; ++s)
            hits += inside(x + (s % 4 + 0.5) / 4, y + (s / 4 + 0.5) / 4);
        return (static_cast<uint32_t>(hits * 255 / 16) << 24) | rgb(x, y);
    });
    std::vector<uint8_t> bytes = MakePng(spec);
    return std::string(bytes.begin(), bytes.end());
}

// A five-pointed star filling a size x size square.
inline bool InStar(double px, double py, int size) {
    double vx[10], vy[10];
    for (int i = 0; i < 10; ++i) {
        double r = size * (i % 2 ? 0.2 : 0.5), angle = -M_PI / 2 + i * M_PI / 5;
        vx[i] = size / 2.0 + r * std::cos(angle);
        vy[i] = size * 0.54 + r * std::sin(angle);
    }
    bool in = false;
    for (int i = 0, j = 9; i < 10; j = i++)
        if ((vy[i] > py) != (vy[j] > py) &&
            px < (vx[j] - vx[i]) * (py - vy[i]) / (vy[j] - vy[i]) + vx[i])
            in = !in;
    return in;
}

// A w x h rectangle with corners rounded to radius r.
inline auto Rounded(int w, int h, double r) {
    return [=](double px, double py) {
        double dx = std::max({r - px, px - (w - r), 0.0}),
               dy = std::max({r - py, py - (h - r), 0.0});
        return dx * dx + dy * dy <= r * r;
    };
}

// Writes the stand-in art into the program folder of `device` and points the pool there.
inline void InstallWidgetArt(const TempDevice& device) {
    auto put = [&](const char* name, const std::string& png) {
        device.WriteFile(std::string("\\Program Files\\Zentri\\") + name, png);
    };
    auto star = [](double px, double py) { return InStar(px, py, 32); };
    auto colour = [](uint32_t rgb) { return [rgb](int, int) { return rgb; }; };
    constexpr uint32_t gold = 0xF5B800, grey = 0xB4B4B4;
    put("dialog.png", Shape(48, 32, Rounded(48, 32, 6), [](int x, int y) {
            return x < 2 || y < 2 || x > 45 || y > 29 ? 0x8FA8C8u : 0x2A3F5Fu;
        }));
    put("rate_star.png", Shape(32, 32, star, colour(gold)));
    put("rate_halfstar.png", Shape(32, 32, star, [](int x, int) { return x < 16 ? gold : grey; }));
    put("rate_blankstar.png", Shape(32, 32, star, colour(grey)));
    put("switch_bg_on.png", Shape(32, 16, Rounded(32, 16, 5), colour(0x3AA845)));
    put("switch_bg_off.png", Shape(32, 16, Rounded(32, 16, 5), colour(0xD8D8D8)));
    put("switch_toggler.png", Shape(16, 16, Rounded(16, 16, 7.5), [](int x, int y) {
            return std::hypot(x + 0.5 - 8, y + 0.5 - 8) > 6.5 ? 0x808080u : 0xFFFFFFu;
        }));
    ImagePool::Instance().SetFolder(u"\\Program Files\\Zentri\\");
}

// Compares a rendering with tests/widgets/reference/<name>.png; the rendering is left in the
// build folder as widgets-render/<name>.png.
inline void ExpectMatchesReference(const Surface& rendered, const std::string& name) {
    ExpectMatchesReference(rendered, SourceDir() / "tests/widgets/reference" / (name + ".png"),
                           BuildDir() / "widgets-render" / (name + ".png"));
}

}  // namespace zentri::test
