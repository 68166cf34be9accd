#pragma once
// Writes the generated pictures: PNG with alpha (libpng) and JPEG (libjpeg).

#include <filesystem>

#include "server/assets/canvas.h"

namespace zentri::server::assets {

bool WritePng(const std::filesystem::path& file, const Canvas& canvas);
bool WriteJpeg(const std::filesystem::path& file, const Canvas& canvas, int quality = 85);

}  // namespace zentri::server::assets
