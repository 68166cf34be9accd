#pragma once
// A 5 × 7 pixel font for the letters and digits on the generated pictures.

#include <cstdint>

namespace zentri::server::assets {

// Seven rows, the five low bits of each (bit 4 the leftmost pixel). Lower-case letters use the
// capitals; characters without a glyph are blank.
const uint8_t* Glyph(char c);

}  // namespace zentri::server::assets
