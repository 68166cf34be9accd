#include "ui/surface.h"

#include <algorithm>
#include <cstring>

namespace zentri {
namespace {

// dst + ((src - dst) * a >> 8) on each of the 5/6/5-bit channels; the shift is arithmetic, so
// negative differences round down.
inline uint16_t Blend(uint16_t dst, uint16_t src, int a) {
    int dr = dst >> 11, dg = (dst >> 5) & 0x3F, db = dst & 0x1F;
    int sr = src >> 11, sg = (src >> 5) & 0x3F, sb = src & 0x1F;
    dr += ((sr - dr) * a) >> 8;
    dg += ((sg - dg) * a) >> 8;
    db += ((sb - db) * a) >> 8;
    return static_cast<uint16_t>((dr << 11) | (dg << 5) | db);
}

}  // namespace

void Surface::Allocate(int w, int h, bool withAlpha) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    pixels.assign(static_cast<size_t>(width) * height, 0xFFFF);
    alpha.clear();
    if (withAlpha) alpha.assign(pixels.size(), 0xFF);
    clipStack.clear();
    originX = originY = 0;
}

void Surface::PushClip(const Rect& r) {
    clipStack.push_back(clipStack.empty() ? r : r.Intersection(clipStack.back()));
}

void Surface::PopClip() {
    if (!clipStack.empty()) clipStack.pop_back();
}

Rect Surface::CurrentClip() const {
    return clipStack.empty() ? Rect{0, 0, width, height} : clipStack.back();
}

bool Surface::ClipBlock(int x, int y, int w, int h, int srcX, int srcY, const Surface* src,
                        Span& out) const {
    if (pixels.empty() || w <= 0 || h <= 0) return false;
    if (src && (!src->HasPixels() || srcX < 0 || srcY < 0 || srcX + w > src->width ||
                srcY + h > src->height))
        return false;
    Rect dest{x + originX, y + originY, w, h};
    // The clip is also cut to the surface itself, so a clip pushed larger than the surface
    // can never lead a loop outside the pixel array.
    Rect clip = CurrentClip().Intersection(Rect{0, 0, width, height});
    Rect cut = dest.Intersection(clip);
    if (cut.w <= 0 || cut.h <= 0) return false;
    out = {cut.x, cut.y, cut.w, cut.h, srcX + (cut.x - dest.x), srcY + (cut.y - dest.y)};
    return true;
}

bool Surface::Blit(int x, int y, int w, int h, const Surface& src, int srcX, int srcY) {
    Span s;
    if (!ClipBlock(x, y, w, h, srcX, srcY, &src, s)) return false;
    for (int row = 0; row < s.h; ++row) {
        uint16_t* d = &pixels[static_cast<size_t>(s.y + row) * width + s.x];
        size_t srcIndex = static_cast<size_t>(s.srcY + row) * src.width + s.srcX;
        const uint16_t* p = &src.pixels[srcIndex];
        if (!src.HasAlpha()) {
            std::memmove(d, p, static_cast<size_t>(s.w) * sizeof(uint16_t));
            continue;
        }
        const uint8_t* a = &src.alpha[srcIndex];
        for (int i = 0; i < s.w; ++i) {
            if (a[i] == 0) continue;                              // fully transparent: skipped
            d[i] = a[i] == 255 ? p[i] : Blend(d[i], p[i], a[i]);  // fully opaque: copied
        }
    }
    return true;
}

bool Surface::BlitAlpha(int x, int y, int w, int h, const Surface& src, int opacity, int srcX,
                        int srcY) {
    if (opacity <= 0) return false;
    if (opacity >= 255) return Blit(x, y, w, h, src, srcX, srcY);
    Span s;
    if (!ClipBlock(x, y, w, h, srcX, srcY, &src, s)) return false;
    for (int row = 0; row < s.h; ++row) {
        uint16_t* d = &pixels[static_cast<size_t>(s.y + row) * width + s.x];
        size_t srcIndex = static_cast<size_t>(s.srcY + row) * src.width + s.srcX;
        const uint16_t* p = &src.pixels[srcIndex];
        if (!src.HasAlpha()) {
            for (int i = 0; i < s.w; ++i)
                d[i] = Blend(d[i], p[i], opacity);
            continue;
        }
        const uint8_t* a = &src.alpha[srcIndex];
        for (int i = 0; i < s.w; ++i) {
            if (a[i] == 0) continue;
            d[i] = Blend(d[i], p[i], (a[i] * opacity) >> 8);
        }
    }
    return true;
}

bool Surface::FillRect(int x, int y, int w, int h, Color color, int opacity) {
    if (opacity <= 0) return false;
    if (opacity > 255) opacity = 255;
    Span s;
    if (!ClipBlock(x, y, w, h, 0, 0, nullptr, s)) return false;
    uint16_t c = To565(color);
    for (int row = 0; row < s.h; ++row) {
        uint16_t* d = &pixels[static_cast<size_t>(s.y + row) * width + s.x];
        for (int i = 0; i < s.w; ++i)
            d[i] = Blend(d[i], c, opacity);
    }
    return true;
}

void Surface::FillRaw(const Rect& r, uint16_t value) {
    Rect cut = r.Intersection(Rect{0, 0, width, height});
    if (cut.w <= 0 || cut.h <= 0 || pixels.empty()) return;
    for (int row = 0; row < cut.h; ++row) {
        uint16_t* d = &pixels[static_cast<size_t>(cut.y + row) * width + cut.x];
        std::fill(d, d + cut.w, value);
    }
}

}  // namespace zentri
