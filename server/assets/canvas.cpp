#include "server/assets/canvas.h"

#include <algorithm>
#include <cmath>

#include "server/assets/pixel_font.h"

namespace zentri::server::assets {

Rgba FromHex(uint32_t rgb, float alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
            alpha};
}

Rgba Mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
    float alpha = c.a * coverage;
    if (alpha <= 0) return;
    Rgba& d = pixels_[static_cast<size_t>(y) * width_ + x];
    float out = alpha + d.a * (1 - alpha);  // "over" compositing
    if (out <= 0) return;
    d.r = (c.r * alpha + d.r * d.a * (1 - alpha)) / out;
    d.g = (c.g * alpha + d.g * d.a * (1 - alpha)) / out;
    d.b = (c.b * alpha + d.b * d.a * (1 - alpha)) / out;
    d.a = out;
}

void Canvas::Fill(float x0, float y0, float x1, float y1,
                  const std::function<bool(float, float)>& inside,
                  const std::function<Rgba(float, float)>& colour) {
    int left = std::max(0, static_cast<int>(std::floor(x0)));
    int top = std::max(0, static_cast<int>(std::floor(y0)));
    int right = std::min(width_, static_cast<int>(std::ceil(x1)));
    int bottom = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
            if (hits) Blend(x, y, colour(x + 0.5f, y + 0.5f), hits / 16.0f);
        }
}

void Canvas::FillRect(float x, float y, float w, float h, Rgba colour) {
    FillRoundRect(x, y, w, h, 0, colour);
}

void Canvas::FillRoundRect(float x, float y, float w, float h, float radius, Rgba colour) {
    Fill(
        x, y, x + w, y + h,
        [=](float px, float py) {
            if (px < x || py < y || px >= x + w || py >= y + h) return false;
            float dx = std::max({x + radius - px, px - (x + w - radius), 0.0f});
            float dy = std::max({y + radius - py, py - (y + h - radius), 0.0f});
            return dx * dx + dy * dy <= radius * radius;
        },
        [=](float, float) { return colour; });
}

void Canvas::FillCircle(float cx, float cy, float radius, Rgba colour) {
    Fill(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float px, float py) { return std::hypot(px - cx, py - cy) <= radius; },
        [=](float, float) { return colour; });
}

int Canvas::TextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void Canvas::DrawText(float x, float y, std::string_view text, int scale, Rgba colour) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t* rows = Glyph(text[i]);
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (rows[row] & (0x10 >> col))
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx) {
                            int px =
                                static_cast<int>(x) + (static_cast<int>(i) * 6 + col) * scale + sx;
                            int py = static_cast<int>(y) + row * scale + sy;
                            if (px >= 0 && py >= 0 && px < width_ && py < height_)
                                Blend(px, py, colour, 1.0f);
                        }
    }
}

std::vector<uint8_t> Canvas::Rgba8() const {
    std::vector<uint8_t> out;
    out.reserve(pixels_.size() * 4);
    auto byte = [](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    for (const Rgba& p : pixels_) {
        out.push_back(byte(p.r)), out.push_back(byte(p.g)), out.push_back(byte(p.b));
        out.push_back(byte(p.a));
    }
    return out;
}

std::vector<uint8_t> Canvas::Rgb8() const {
    std::vector<uint8_t> out;
    out.reserve(pixels_.size() * 3);
    // Transparent parts are shown on white.
    auto byte = [](float v, float a) {
        return static_cast<uint8_t>(std::lround(std::clamp(v * a + (1 - a), 0.0f, 1.0f) * 255));
    };
    for (const Rgba& p : pixels_)
        out.push_back(byte(p.r, p.a)), out.push_back(byte(p.g, p.a)), out.push_back(byte(p.b, p.a));
    return out;
}

}  // namespace zentri::server::assets
