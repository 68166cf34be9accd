#pragma once
// The catalogue's pictures from SVG templates: an application's icon and screenshots are the
// templates of templates/ filled with its style (picture_style.h) and rendered to PNG by
// rsvg-convert; JPEG screenshots are converted from that PNG.

#include <filesystem>
#include <string>

#include "server/assets/picture_style.h"

namespace zentri::server::assets {

struct PictureTemplates {
    std::string icon;    // templates/icon.svg
    std::string screen;  // templates/screen.svg
};

// Both templates from a folder; false (with the reason) when one cannot be read.
bool LoadTemplates(const std::filesystem::path& folder, PictureTemplates& templates,
                   std::string& error);

// The filled SVG texts; an empty text when the template names a value that is not filled
// (`error` says which).
std::string IconSvg(const PictureTemplates& templates, const PictureStyle& style,
                    std::string& error);
// Screenshot `number` (1, 2, ...) in portrait (240 x 320) or landscape (320 x 240).
std::string ScreenshotSvg(const PictureTemplates& templates, const PictureStyle& style,
                          const AppEntry& app, int number, bool portrait, std::string& error);

constexpr int kIconSize = 64;
constexpr int kScreenShort = 240, kScreenLong = 320;

// Renders SVG texts with rsvg-convert through a scratch file in `scratch`.
class SvgRenderer {
  public:
    SvgRenderer(std::string program, std::filesystem::path scratch)
        : program_(std::move(program)), scratch_(std::move(scratch)) {}
    // The picture at width x height pixels with alpha; false when rsvg-convert fails.
    bool Render(const std::string& svg, int width, int height,
                const std::filesystem::path& png) const;

  private:
    std::string program_;
    std::filesystem::path scratch_;
};

// A PNG turned into a JPEG (alpha dropped onto white); false when either file fails.
bool PngToJpeg(const std::filesystem::path& png, const std::filesystem::path& jpeg,
               int quality = 88);

}  // namespace zentri::server::assets
