#pragma once
// A small RGBA drawing surface for the catalogue's procedural pictures: shapes are filled with
// anti-aliased edges (coverage from 4 × 4 samples per pixel), so icons get soft alpha borders.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace zentri::server::assets {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;  // 0..1, not premultiplied
};

Rgba FromHex(uint32_t rgb, float alpha = 1.0f);
Rgba Mix(Rgba a, Rgba b, float t);

class Canvas {
  public:
    Canvas(int width, int height, Rgba fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints `colour(x, y)` over every pixel of the box (x0, y0)-(x1, y1) in proportion to how
    // much of it `inside(x, y)` covers (x and y in pixel units, pixel centres at .5).
    void Fill(float x0, float y0, float x1, float y1,
              const std::function<bool(float, float)>& inside,
              const std::function<Rgba(float, float)>& colour);
    void FillRect(float x, float y, float w, float h, Rgba colour);
    void FillRoundRect(float x, float y, float w, float h, float radius, Rgba colour);
    void FillCircle(float cx, float cy, float radius, Rgba colour);
    // Text in the built-in 5 × 7 pixel font, each font pixel `scale` pixels wide.
    void DrawText(float x, float y, std::string_view text, int scale, Rgba colour);
    static int TextWidth(std::string_view text, int scale);

    // 8-bit rows, RGBA or RGB.
    std::vector<uint8_t> Rgba8() const;
    std::vector<uint8_t> Rgb8() const;

  private:
    void Blend(int x, int y, Rgba colour, float coverage);

    int width_, height_;
    std::vector<Rgba> pixels_;
};

}  // namespace zentri::server::assets
