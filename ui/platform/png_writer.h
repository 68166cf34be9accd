#pragma once
// Saving the pixels of a surface as an 8-bit RGB PNG (screenshots, test renderings). The alpha
// plane is not written; each 565 pixel is expanded with From565.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "ui/rect.h"
#include "ui/surface.h"

namespace zentri {

// The PNG of `area` (surface coordinates, no origin, no clip), cut to the surface. Empty when
// nothing is left or encoding fails.
std::vector<uint8_t> EncodePng(const Surface& surface, const Rect& area);

// Writes EncodePng(surface, area) to a host file, replacing it in one step. False when there is
// nothing to write or the file cannot be written (an existing file is then left as it was).
bool SavePng(const Surface& surface, const Rect& area, const std::filesystem::path& file);
// The whole surface.
bool SavePng(const Surface& surface, const std::filesystem::path& file);

}  // namespace zentri
