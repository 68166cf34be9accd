#include "ui/platform/png_writer.h"

#include <png.h>

#include <string_view>

#include "platform/atomic_file.h"

namespace zentri {

std::vector<uint8_t> EncodePng(const Surface& surface, const Rect& area) {
    Rect cut = area.Intersection(Rect{0, 0, surface.width, surface.height});
    if (!surface.HasPixels() || !surface.IsConsistent() || cut.w <= 0 || cut.h <= 0) return {};

    std::vector<uint8_t> rgb(static_cast<size_t>(cut.w) * cut.h * 3);
    uint8_t* out = rgb.data();
    for (int y = cut.y; y < cut.y + cut.h; ++y) {
        for (int x = cut.x; x < cut.x + cut.w; ++x) {
            Color c = From565(surface.Pixel(x, y));
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
        }
    }

    // The simplified writer keeps libpng's longjmp error handling inside the library.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(cut.w);
    image.height = static_cast<png_uint_32>(cut.h);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return {};
    std::vector<uint8_t> png(size);
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    png.resize(size);
    return png;
}

bool SavePng(const Surface& surface, const Rect& area, const std::filesystem::path& file) {
    std::vector<uint8_t> png = EncodePng(surface, area);
    if (png.empty()) return false;
    return platform::WriteFileAtomically(
        file, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

bool SavePng(const Surface& surface, const std::filesystem::path& file) {
    return SavePng(surface, Rect{0, 0, surface.width, surface.height}, file);
}

}  // namespace zentri
