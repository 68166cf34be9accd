#include "server/assets/picture_style.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zentri::server::assets {

namespace {

struct Rgb {
    double r, g, b;  // 0..1
};

Rgb FromHsv(double hue, double saturation, double value) {
    double h = (hue - std::floor(hue)) * 6, f = h - std::floor(h);
    double p = value * (1 - saturation), q = value * (1 - saturation * f),
           t = value * (1 - saturation * (1 - f));
    switch (static_cast<int>(h) % 6) {
        case 0:
            return {value, t, p};
        case 1:
            return {q, value, p};
        case 2:
            return {p, value, t};
        case 3:
            return {p, q, value};
        case 4:
            return {t, p, value};
        default:
            return {value, p, q};
    }
}

double HueOf(Rgb c) {
    double hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b}), d = hi - lo;
    if (d <= 0) return 0;
    double h = hi == c.r   ? std::fmod((c.g - c.b) / d, 6.0)
               : hi == c.g ? (c.b - c.r) / d + 2
                           : (c.r - c.g) / d + 4;
    return (h < 0 ? h + 6 : h) / 6;
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::string Hex(Rgb c) {
    auto byte = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
    return text;
}

bool ParseHex(const std::string& text, Rgb& out) {
    if (text.size() != 7 || text[0] != '#' ||
        text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        return false;
    unsigned long v = std::strtoul(text.c_str() + 1, nullptr, 16);
    out = {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
    return true;
}

// Outlines in a 64 x 64 box, 4 pixels clear of the edges.
const char* ShapePath(const std::string& shape) {
    if (shape == "circle") return "M32 4 A28 28 0 1 1 31.99 4 Z";
    if (shape == "diamond")
        return "M28 5.5 Q32 2 36 5.5 L58.5 28 Q62 32 58.5 36 L36 58.5 Q32 62 28 58.5 L5.5 36 "
               "Q2 32 5.5 28 Z";
    if (shape == "hexagon")
        return "M28 5 Q32 3 36 5 L54 15.5 Q58 18 58 22 V42 Q58 46 54 48.5 L36 59 Q32 61 28 59 "
               "L10 48.5 Q6 46 6 42 V22 Q6 18 10 15.5 Z";
    if (shape == "drop") return "M4 4 H32 A28 28 0 1 1 4 32 Z";
    if (shape == "shield")
        return "M32 4 L57 11 Q59 12 59 14 V30 C59 45 47 55 32 61 C17 55 5 45 5 30 V14 Q5 12 7 11 "
               "Z";
    return "M17 4 H47 A13 13 0 0 1 60 17 V47 A13 13 0 0 1 47 60 H17 A13 13 0 0 1 4 47 V17 A13 "
           "13 0 0 1 17 4 Z";
}

const char* const kShapes[] = {"square", "circle", "hexagon", "drop", "shield", "diamond"};
const char* const kFonts[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"};
const char* const kPatterns[] = {
    "",
    "<path d='M-8 24 L24 -8 M-8 44 L44 -8 M-8 64 L64 -8 M4 72 L72 4 M24 72 L72 24'/>",
    "<circle cx='32' cy='74' r='22'/><circle cx='32' cy='74' r='34'/>"
    "<circle cx='32' cy='74' r='46'/>",
    "<path d='M0 46 Q16 38 32 46 T64 46 M0 56 Q16 48 32 56 T64 56'/>",
    "<path d='M16 0 V64 M32 0 V64 M48 0 V64 M0 16 H64 M0 32 H64 M0 48 H64' stroke-width='1.5'/>",
};

std::string Initials(const std::string& name) {
    std::string letters;
    bool wordStart = true;
    for (char c : name) {
        bool alnum = std::isalnum(static_cast<unsigned char>(c));
        if (alnum && wordStart && letters.size() < 2)
            letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        wordStart = !alnum;
    }
    return letters.empty() ? "?" : letters;
}

}  // namespace

uint32_t Hash(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text)
        h = (h ^ c) * 16777619u;
    return h;
}

ScreenKind KindOfCategory(int category) {
    switch (category) {
        case 111:
            return ScreenKind::Letters;
        case 112:
            return ScreenKind::Puzzle;
        case 121:
            return ScreenKind::Arcade;
        case 122:
            return ScreenKind::Racing;
        case 131:
            return ScreenKind::Cards;
        case 132:
            return ScreenKind::Board;
        case 211:
        case 221:
        case 52:
        case 521:
            return ScreenKind::Document;
        case 212:
        case 23:
            return ScreenKind::Sheet;
        case 222:
            return ScreenKind::Calendar;
        case 311:
            return ScreenKind::Player;
        case 312:
            return ScreenKind::Instrument;
        case 321:
        case 322:
            return ScreenKind::Photo;
        case 411:
            return ScreenKind::Files;
        case 412:
        case 422:
            return ScreenKind::Meters;
        case 51:
            return ScreenKind::Map;
        case 61:
            return ScreenKind::Messages;
        default:
            return ScreenKind::List;
    }
}

PictureStyle StyleFor(const AppEntry& app) {
    PictureStyle style;
    uint32_t own = Hash(app.sysid), house = Hash(app.company);
    style.seed = own;
    // The colour from the application; the shape, lettering and pattern from its company.
    Rgb main;
    if (!ParseHex(app.colour, main)) main = FromHsv((own % 360) / 360.0, 0.66, 0.74);
    double hue = HueOf(main);
    style.main = Hex(main);
    style.light = Hex(Mix(main, {1, 1, 1}, 0.38));
    style.dark = Hex(Mix(main, {0, 0, 0}, 0.3));
    style.edge = Hex(Mix(main, {0, 0, 0}, 0.58));
    style.accent = Hex(FromHsv(hue + 0.45, 0.55, 1.0));
    std::string shape = app.shape;
    if (std::find(std::begin(kShapes), std::end(kShapes), shape) == std::end(kShapes))
        shape = kShapes[house % std::size(kShapes)];
    style.shapePath = ShapePath(shape);
    style.font = kFonts[(house >> 8) % std::size(kFonts)];
    style.pattern = kPatterns[(house >> 12) % std::size(kPatterns)];
    style.glyph = Initials(app.name);
    style.kind = KindOfCategory(app.category);
    return style;
}

}  // namespace zentri::server::assets
