#include "server/assets/art.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace zentri::server::assets {

namespace {

uint32_t Hash(const std::string& text) {  // FNV-1a
    uint32_t h = 2166136261u;
    for (unsigned char c : text)
        h = (h ^ c) * 16777619u;
    return h;
}

// A saturated colour from a hue in [0, 1).
uint32_t HueColour(float hue, float saturation, float value) {
    float h = hue * 6, f = h - std::floor(h);
    float p = value * (1 - saturation), q = value * (1 - saturation * f),
          t = value * (1 - saturation * (1 - f));
    float r, g, b;
    switch (static_cast<int>(h) % 6) {
        case 0:
            r = value, g = t, b = p;
            break;
        case 1:
            r = q, g = value, b = p;
            break;
        case 2:
            r = p, g = value, b = t;
            break;
        case 3:
            r = p, g = q, b = value;
            break;
        case 4:
            r = t, g = p, b = value;
            break;
        default:
            r = value, g = p, b = q;
    }
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(v * 255)); };
    return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

bool InsideShape(IconShape shape, float x, float y, float size) {
    float c = size / 2, r = size / 2 - 2;
    float dx = x - c, dy = y - c;
    switch (shape) {
        case IconShape::Circle:
            return dx * dx + dy * dy <= r * r;
        case IconShape::Diamond:
            return std::abs(dx) + std::abs(dy) <= r * 1.15f;
        case IconShape::Hexagon: {
            float ax = std::abs(dx), ay = std::abs(dy);
            return ay <= r * 0.87f && ax * 0.87f + ay * 0.5f <= r * 0.87f;
        }
        case IconShape::Drop:  // a circle with a pointed top-left corner
            return (dx * dx + dy * dy <= r * r) || (dx <= 0 && dy <= 0 && dx >= -r && dy >= -r);
        case IconShape::RoundedSquare:
        default: {
            float k = size * 0.2f;
            float ex = std::max(std::abs(dx) - (r - k), 0.0f),
                  ey = std::max(std::abs(dy) - (r - k), 0.0f);
            return ex * ex + ey * ey <= k * k;
        }
    }
}

}  // namespace

ArtStyle StyleFor(const std::string& sysid, const std::string& name, const std::string& colour,
                  const std::string& shape) {
    ArtStyle style;
    uint32_t h = Hash(sysid);
    style.seed = h;
    float hue = (h % 360) / 360.0f;
    style.colour = colour.size() == 7 && colour[0] == '#'
                       ? static_cast<uint32_t>(std::strtoul(colour.c_str() + 1, nullptr, 16))
                       : HueColour(hue, 0.65f, 0.75f);
    style.accent = HueColour(std::fmod(hue + 0.45f, 1.0f), 0.55f, 0.95f);
    static const IconShape kShapes[] = {IconShape::Circle, IconShape::RoundedSquare,
                                        IconShape::Diamond, IconShape::Hexagon, IconShape::Drop};
    style.shape = kShapes[(h >> 9) % 5];
    if (shape == "circle") style.shape = IconShape::Circle;
    if (shape == "square") style.shape = IconShape::RoundedSquare;
    if (shape == "diamond") style.shape = IconShape::Diamond;
    if (shape == "hexagon") style.shape = IconShape::Hexagon;
    if (shape == "drop") style.shape = IconShape::Drop;
    // Initials: the first letters of the first two words of the name.
    bool wordStart = true;
    for (char c : name) {
        bool letter = std::isalnum(static_cast<unsigned char>(c));
        if (letter && wordStart && style.initials.size() < 2)
            style.initials += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        wordStart = !letter;
    }
    if (style.initials.empty()) style.initials.push_back('?');
    style.title = name;
    return style;
}

Canvas MakeIcon(const ArtStyle& style, int size) {
    Canvas canvas(size, size);
    Rgba top = Mix(FromHex(style.colour), FromHex(0xFFFFFF), 0.35f);
    Rgba bottom = Mix(FromHex(style.colour), FromHex(0x000000), 0.25f);
    float s = static_cast<float>(size);
    // A darker rim, then the body with a vertical gradient, then a highlight and the initials.
    canvas.Fill(
        0, 0, s, s, [&](float x, float y) { return InsideShape(style.shape, x, y, s); },
        [&](float, float) { return Mix(FromHex(style.colour), FromHex(0), 0.45f); });
    canvas.Fill(
        0, 0, s, s,
        [&](float x, float y) {
            float c = s / 2;
            return InsideShape(style.shape, c + (x - c) * 1.06f, c + (y - c) * 1.06f, s);
        },
        [&](float, float y) { return Mix(top, bottom, y / s); });
    canvas.FillCircle(s * 0.72f, s * 0.28f, s * 0.09f, FromHex(style.accent, 0.9f));
    int scale = style.initials.size() > 1 ? size / 22 : size / 14;
    int width = Canvas::TextWidth(style.initials, scale);
    float x = (s - width) / 2, y = (s - 7 * scale) / 2;
    canvas.DrawText(x + 1, y + 1, style.initials, scale, FromHex(0x000000, 0.35f));
    canvas.DrawText(x, y, style.initials, scale, FromHex(0xFFFFFF));
    return canvas;
}

Canvas MakeScreenshot(const ArtStyle& style, int number, bool portrait) {
    int w = portrait ? 240 : 320, h = portrait ? 320 : 240;
    uint32_t seed = style.seed ^ (static_cast<uint32_t>(number) * 2654435761u);
    Canvas canvas(w, h, FromHex(0xF4F4F0));
    Rgba main = FromHex(style.colour), accent = FromHex(style.accent);
    // Title bar with the name, as the handset shows it.
    canvas.FillRect(0, 0, w, 26, main);
    std::string title = style.title.substr(0, static_cast<size_t>((w - 40) / 12));
    canvas.DrawText(8, 6, title, 2, FromHex(0xFFFFFF));
    canvas.DrawText(w - 30, 9, std::to_string(number), 1, FromHex(0xFFFFFF, 0.8f));
    // Soft-key bar.
    canvas.FillRect(0, h - 22, w, 22, FromHex(0x303030));
    canvas.DrawText(8, h - 15, "MENU", 1, FromHex(0xFFFFFF));
    canvas.DrawText(w - 40, h - 15, "BACK", 1, FromHex(0xFFFFFF));

    int layout = static_cast<int>((seed >> 3) % 3);
    if (layout == 0) {  // a list of rows with small icons and text lines
        for (int row = 0, y = 34; y + 30 < h - 26; ++row, y += 34) {
            canvas.FillRoundRect(8, y, 24, 24, 5, Mix(main, accent, (row % 3) / 2.0f));
            float length = 60 + ((seed >> (row % 16)) % 100);
            canvas.FillRect(40, y + 4, std::min<float>(length, w - 52), 6, FromHex(0x404040));
            canvas.FillRect(40, y + 15, std::min<float>(length * 0.6f, w - 52), 4,
                            FromHex(0xA0A0A0));
        }
    } else if (layout == 1) {  // a bar chart
        int bars = 5 + static_cast<int>(seed % 4);
        float span = (w - 32.0f) / bars;
        for (int i = 0; i < bars; ++i) {
            float value = 0.25f + ((seed >> (i * 3)) % 8) / 10.0f;
            float height = (h - 90) * value;
            canvas.FillRect(16 + i * span + 3, h - 34 - height, span - 6, height,
                            i % 2 ? main : accent);
        }
        canvas.FillRect(12, h - 34, w - 24, 2, FromHex(0x202020));
    } else {  // a play field of circles
        for (int i = 0; i < 9; ++i) {
            float cx = 24 + ((seed >> i) % static_cast<uint32_t>(w - 48));
            float cy = 44 + ((seed >> (i + 5)) % static_cast<uint32_t>(h - 100));
            float r = 8 + ((seed >> (i * 2)) % 18);
            canvas.FillCircle(cx, cy, r, Mix(main, accent, i / 8.0f));
        }
    }
    return canvas;
}

}  // namespace zentri::server::assets
