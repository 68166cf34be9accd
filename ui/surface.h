#pragma once
// An off-screen picture: RGB565 pixels (red in bits 11-15, green 5-10, blue 0-4), an optional
// 8-bit alpha plane (0 transparent .. 255 opaque) for images decoded from 32-bit sources, a
// stack of clip rectangles and a drawing origin. Blits and fills are the program's own loops
// with integer blending; decoding and scaling belong to the platform surface.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/rect.h"
#include "ui/shared_object.h"

namespace zentri {

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Color&) const = default;
};

// 0xRRGGBB as three bytes.
constexpr Color RGB(uint32_t rgb) {
    return Color{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                 static_cast<uint8_t>(rgb)};
}
constexpr uint16_t To565(Color c) {
    return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}
// Back to eight bits a channel, the high bits repeated into the low ones, so that 0 stays 0,
// the largest value becomes 255 and To565(From565(p)) == p.
constexpr Color From565(uint16_t p) {
    uint8_t r = static_cast<uint8_t>(p >> 11), g = static_cast<uint8_t>((p >> 5) & 0x3F),
            b = static_cast<uint8_t>(p & 0x1F);
    return Color{static_cast<uint8_t>((r << 3) | (r >> 2)),
                 static_cast<uint8_t>((g << 2) | (g >> 4)),
                 static_cast<uint8_t>((b << 3) | (b >> 2))};
}

class Surface : public shared_object {
  public:
    ~Surface() override = default;

    virtual bool Create(int w, int h, bool withAlpha) = 0;
    // Paths are device paths. A failed load leaves the surface without pixels.
    virtual bool LoadFile(const std::u16string& path) = 0;
    virtual bool LoadBuffer(const uint8_t* data, size_t size) = 0;
    virtual bool LoadFileScaled(const std::u16string& path, int w, int h) = 0;
    virtual shared_ptr<Surface> Scaled(int w, int h) = 0;

    // The new clip is `r` (in surface coordinates) intersected with the current one.
    void PushClip(const Rect& r);
    void PopClip();
    // The top of the stack, or the whole surface when the stack is empty.
    Rect CurrentClip() const;
    // The current clip cut to the surface: where drawing may actually write.
    Rect DrawableClip() const;
    void SetOrigin(int x, int y) {
        originX = x;
        originY = y;
    }

    // Copy a w x h block of src to (x, y); blended through src's alpha plane when it has one.
    // False when nothing is left to draw after clipping.
    bool Blit(int x, int y, int w, int h, const Surface& src, int srcX = 0, int srcY = 0);
    // Opacity 0 draws nothing, 255 is Blit, otherwise blends (with src's alpha when present).
    bool BlitAlpha(int x, int y, int w, int h, const Surface& src, int opacity, int srcX = 0,
                   int srcY = 0);
    // The color reduced to 565 and blended with `opacity` on every pixel (255 included).
    bool FillRect(int x, int y, int w, int h, Color color, int opacity);
    // Sets every pixel of r to value: no origin, no clip (cut to the surface only).
    void FillRaw(const Rect& r, uint16_t value);

    bool HasPixels() const { return !pixels.empty(); }
    // The fields agree with each other: width x height pixels, and an alpha plane that is
    // empty or as large. Drawing into or from a surface that is not is refused.
    bool IsConsistent() const {
        size_t n = static_cast<size_t>(width > 0 ? width : 0) *
                   static_cast<size_t>(height > 0 ? height : 0);
        return pixels.size() == n && (alpha.empty() || alpha.size() == n);
    }
    bool HasAlpha() const { return !alpha.empty(); }
    uint16_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int width = 0;
    int height = 0;  // width is also the row stride in pixels
    int originX = 0;
    int originY = 0;
    int format = 0;  // 0: 16-bit pixels (the only format the program uses)
    std::vector<uint16_t> pixels;
    std::vector<uint8_t> alpha;
    std::vector<Rect> clipStack;

  protected:
    // Allocates w x h pixels (white) and, when asked, an alpha plane; resets clip and origin.
    void Allocate(int w, int h, bool withAlpha);

  private:
    struct Span {
        int x, y, w, h, srcX, srcY;
    };
    uint16_t* Row(int x, int y);
    // Shifts by the origin and clips; false when nothing is left.
    bool ClipBlock(int x, int y, int w, int h, int srcX, int srcY, const Surface* src,
                   Span& out) const;
    // Clips a block of `src` and hands blendRow(destination, pixels, alpha or null, count) each
    // of its rows; with plainCopy, whole rows without alpha are one copy instead.
    template <class BlendRow>
    bool BlitRows(int x, int y, int w, int h, const Surface& src, int srcX, int srcY,
                  bool plainCopy, BlendRow blendRow);
};

}  // namespace zentri
