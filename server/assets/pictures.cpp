#include "server/assets/pictures.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "server/assets/package_builder.h"
#include "server/assets/run_program.h"
#include "server/assets/screen_bodies.h"
#include "server/read_file.h"

namespace zentri::server::assets {

namespace {

std::string Fill(const std::string& text, const std::map<std::string, std::string>& values,
                 const char* what, std::string& error) {
    std::string unknown;
    std::string filled = Substitute(text, values, unknown);
    if (unknown.empty()) return filled;
    error = std::string("the ") + what + " template names @" + unknown + "@, which is not filled";
    return "";
}

std::map<std::string, std::string> Colours(const PictureStyle& style) {
    return {{"MAIN", style.main},
            {"LIGHT", style.light},
            {"DARK", style.dark},
            {"EDGE", style.edge},
            {"ACCENT", style.accent}};
}

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};

}  // namespace

bool LoadTemplates(const std::filesystem::path& folder, PictureTemplates& templates,
                   std::string& error) {
    for (auto [name, text] :
         {std::pair{"icon.svg", &templates.icon}, std::pair{"screen.svg", &templates.screen}}) {
        if (!ReadFile(folder / name, *text)) {
            error = "cannot read " + (folder / name).string();
            return false;
        }
    }
    return true;
}

std::string IconSvg(const PictureTemplates& templates, const PictureStyle& style,
                    std::string& error) {
    bool two = style.glyph.size() > 1;
    int size = two ? 25 : 34;
    auto values = Colours(style);
    values.insert({{"SHAPE", style.shapePath},
                   {"PATTERN", style.pattern},
                   {"GLOSS_HEIGHT", "30"},
                   {"FONT", style.font},
                   {"GLYPH", XmlEscaped(style.glyph)},
                   {"GLYPH_SIZE", std::to_string(size)},
                   {"GLYPH_Y", std::to_string(32 + size * 36 / 100)}});
    return Fill(templates.icon, values, "icon", error);
}

std::string ScreenshotSvg(const PictureTemplates& templates, const PictureStyle& style,
                          const AppEntry& app, int number, bool portrait, std::string& error) {
    int w = portrait ? kScreenShort : kScreenLong, h = portrait ? kScreenLong : kScreenShort;
    const int top = 42, keys = 24;
    auto [left, right] = SoftKeys(style.kind);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%d:%02u", 8 + number, (style.seed >> 4) % 60);
    auto values = Colours(style);
    values.insert({{"W", std::to_string(w)},
                   {"H", std::to_string(h)},
                   {"PAPER", "#f7f9fb"},
                   {"CLOCK", clock},
                   {"CLOCK_X", std::to_string(w - 6)},
                   {"TITLE", XmlEscaped(app.name)},
                   {"BODY_H", std::to_string(h - top - keys)},
                   {"BODY", ScreenBody(style, app, number, w, h - top - keys)},
                   {"KEYS_Y", std::to_string(h - keys)},
                   {"LEFT_KEY", XmlEscaped(left)},
                   {"RIGHT_KEY", XmlEscaped(right)},
                   {"RIGHT_KEY_X", std::to_string(w - 10)}});
    return Fill(templates.screen, values, "screen", error);
}

bool SvgRenderer::Render(const std::string& svg, int width, int height,
                         const std::filesystem::path& png) const {
    std::filesystem::path source = scratch_ / (png.stem().string() + ".svg");
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out << svg;
        if (!out.flush()) return false;
    }
    return RunProgram({program_, "--width", std::to_string(width), "--height",
                       std::to_string(height), "--format", "png", "--output", png.string(),
                       source.string()}) == 0;
}

bool PngToJpeg(const std::filesystem::path& png, const std::filesystem::path& jpeg, int quality) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, png.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    std::unique_ptr<FILE, FileCloser> out(fopen(jpeg.c_str(), "wb"));
    if (!out) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.get());
    cinfo.image_width = image.width;
    cinfo.image_height = image.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.next_scanline) * image.width * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fflush(out.get()) == 0;
}

}  // namespace zentri::server::assets
