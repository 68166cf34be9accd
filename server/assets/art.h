#pragma once
// The procedural art of the catalogue: an icon and screenshots per application, different for
// each one (colours, shape, initials, layout) and the same on every build.

#include <cstdint>
#include <string>

#include "server/assets/canvas.h"

namespace zentri::server::assets {

enum class IconShape { Circle, RoundedSquare, Diamond, Hexagon, Drop };

struct ArtStyle {
    uint32_t colour = 0x3366AA;  // main colour, 0xRRGGBB
    uint32_t accent = 0xFFCC33;
    IconShape shape = IconShape::RoundedSquare;
    std::string initials;  // one or two letters
    std::string title;     // the application's name
    uint32_t seed = 0;     // varies the screenshots' layouts
};

// A style from the application's name and sysid; `colour` and `shape` override the derived
// ones when given ("#2a7ab0", "circle").
ArtStyle StyleFor(const std::string& sysid, const std::string& name, const std::string& colour,
                  const std::string& shape);

Canvas MakeIcon(const ArtStyle& style, int size = 64);
// Screenshot `number` (1, 2, ...) in portrait (240 × 320) or landscape (320 × 240).
Canvas MakeScreenshot(const ArtStyle& style, int number, bool portrait);

}  // namespace zentri::server::assets
