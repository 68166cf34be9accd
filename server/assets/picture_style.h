#pragma once
// What a catalogue application's pictures are made of: colours, icon shape, lettering and the
// kind of screen its screenshots show, derived from its name, company and category so that
// every application looks different and the same on every build.

#include <cstdint>
#include <string>

namespace zentri::server::assets {

// The kind of application a screenshot shows (from its category).
enum class ScreenKind {
    List,
    Files,
    Messages,
    Document,
    Sheet,
    Calendar,
    Letters,
    Puzzle,
    Arcade,
    Racing,
    Cards,
    Board,
    Player,
    Instrument,
    Photo,
    Meters,
    Map
};

// An application as the seed describes it.
struct AppEntry {
    std::string sysid, name, company, description;
    int category = 0;
    std::string colour;  // optional override, "#rrggbb"
    std::string shape;   // optional override: circle, square, diamond, hexagon, drop, shield
};

struct PictureStyle {
    // "#rrggbb": the application's colour, lighter and darker shades of it for gradients, a
    // deep edge colour and a complementary accent.
    std::string main, light, dark, edge, accent;
    std::string shapePath;  // the icon's outline, an SVG path in a 64 x 64 box
    std::string pattern;    // SVG elements of the company's pattern on the icon
    std::string font;       // the company's DejaVu family
    std::string glyph;      // one or two letters of the name
    ScreenKind kind = ScreenKind::List;
    uint32_t seed = 0;  // varies the screenshots' contents
};

PictureStyle StyleFor(const AppEntry& app);

ScreenKind KindOfCategory(int category);

// FNV-1a, the one hash behind every derived choice.
uint32_t Hash(const std::string& text);

}  // namespace zentri::server::assets
