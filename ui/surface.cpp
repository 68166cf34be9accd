#include "ui/surface.h"

#include <algorithm>
#include <cstring>

#include "ui/pixel_ops.h"

namespace zentri {
namespace {

// The part of [begin, begin + size) that lies in [lo, hi), computed in 64 bits so that no
// argument, however large, can wrap around.
struct Span1 {
    int64_t begin, end;
};
Span1 Cut(int64_t begin, int64_t size, int64_t lo, int64_t hi) {
    return {std::max(begin, lo), std::min(begin + size, hi)};
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

Rect Surface::DrawableClip() const {
    Rect clip = CurrentClip();
    Span1 cx = Cut(clip.x, clip.w, 0, width), cy = Cut(clip.y, clip.h, 0, height);
    if (cx.end <= cx.begin || cy.end <= cy.begin) return {};
    return {static_cast<int>(cx.begin), static_cast<int>(cy.begin),
            static_cast<int>(cx.end - cx.begin), static_cast<int>(cy.end - cy.begin)};
}

bool Surface::ClipBlock(int x, int y, int w, int h, int srcX, int srcY, const Surface* src,
                        Span& out) const {
    if (pixels.empty() || w <= 0 || h <= 0 || !IsConsistent()) return false;
    if (src && (!src->HasPixels() || !src->IsConsistent() || srcX < 0 || srcY < 0 ||
                int64_t{srcX} + w > src->width || int64_t{srcY} + h > src->height))
        return false;
    // The destination is cut to the clip and to the surface itself, so that a clip pushed larger
    // than the surface can never lead a loop outside the pixel array.
    Rect clip = DrawableClip();
    int64_t dx = int64_t{x} + originX, dy = int64_t{y} + originY;
    Span1 cx = Cut(dx, w, clip.x, int64_t{clip.x} + clip.w);
    Span1 cy = Cut(dy, h, clip.y, int64_t{clip.y} + clip.h);
    if (cx.end <= cx.begin || cy.end <= cy.begin) return false;
    out = {static_cast<int>(cx.begin),
           static_cast<int>(cy.begin),
           static_cast<int>(cx.end - cx.begin),
           static_cast<int>(cy.end - cy.begin),
           static_cast<int>(srcX + (cx.begin - dx)),
           static_cast<int>(srcY + (cy.begin - dy))};
    return true;
}

namespace {

// Where the rows of a source block are read. A block taken from the destination surface itself
// is copied first, so that no row reads pixels that an earlier row (or an earlier pixel of its
// own row) has already changed.
struct SourceRows {
    const uint16_t* pixels = nullptr;
    const uint8_t* alpha = nullptr;
    size_t stride = 0;
    std::vector<uint16_t> ownPixels;
    std::vector<uint8_t> ownAlpha;

    SourceRows(const Surface& src, int x, int y, int w, int h, bool copy) {
        size_t first = static_cast<size_t>(y) * src.width + x;
        if (!copy) {
            pixels = src.pixels.data() + first;
            alpha = src.HasAlpha() ? src.alpha.data() + first : nullptr;
            stride = static_cast<size_t>(src.width);
            return;
        }
        stride = static_cast<size_t>(w);
        ownPixels.resize(stride * h);
        if (src.HasAlpha()) ownAlpha.resize(stride * h);
        for (int r = 0; r < h; ++r) {
            size_t at = first + static_cast<size_t>(r) * src.width;
            std::memcpy(&ownPixels[r * stride], &src.pixels[at], stride * sizeof(uint16_t));
            if (src.HasAlpha()) std::memcpy(&ownAlpha[r * stride], &src.alpha[at], stride);
        }
        pixels = ownPixels.data();
        alpha = src.HasAlpha() ? ownAlpha.data() : nullptr;
    }
    const uint16_t* Pixels(int row) const { return pixels + row * stride; }
    const uint8_t* Alpha(int row) const { return alpha + row * stride; }
};

}  // namespace

uint16_t* Surface::Row(int x, int y) {
    return pixels.data() + static_cast<size_t>(y) * width + x;
}

template <class BlendRow>
bool Surface::BlitRows(int x, int y, int w, int h, const Surface& src, int srcX, int srcY,
                       bool plainCopy, BlendRow blendRow) {
    Span s;
    if (!ClipBlock(x, y, w, h, srcX, srcY, &src, s)) return false;
    SourceRows rows(src, s.srcX, s.srcY, s.w, s.h, &src == this);
    if (plainCopy && !rows.alpha && s.w == width && static_cast<size_t>(s.w) == rows.stride) {
        // Whole rows of equally wide surfaces: one copy.
        std::memcpy(Row(0, s.y), rows.Pixels(0), static_cast<size_t>(s.w) * s.h * sizeof(uint16_t));
        return true;
    }
    for (int r = 0; r < s.h; ++r)
        blendRow(Row(s.x, s.y + r), rows.Pixels(r), rows.alpha ? rows.Alpha(r) : nullptr, s.w);
    return true;
}

bool Surface::Blit(int x, int y, int w, int h, const Surface& src, int srcX, int srcY) {
    const pixel::RowOps& ops = pixel::Ops();
    return BlitRows(x, y, w, h, src, srcX, srcY, true,
                    [&](uint16_t* d, const uint16_t* p, const uint8_t* a, int n) {
                        if (a)
                            ops.blendAlpha(d, p, a, n);
                        else
                            std::memcpy(d, p, static_cast<size_t>(n) * sizeof(uint16_t));
                    });
}

bool Surface::BlitAlpha(int x, int y, int w, int h, const Surface& src, int opacity, int srcX,
                        int srcY) {
    if (opacity <= 0) return false;
    if (opacity >= 255) return Blit(x, y, w, h, src, srcX, srcY);
    const pixel::RowOps& ops = pixel::Ops();
    return BlitRows(x, y, w, h, src, srcX, srcY, false,
                    [&](uint16_t* d, const uint16_t* p, const uint8_t* a, int n) {
                        if (a)
                            ops.blendAlphaOpacity(d, p, a, n, opacity);
                        else
                            ops.blendConst(d, p, n, opacity);
                    });
}

bool Surface::FillRect(int x, int y, int w, int h, Color color, int opacity) {
    if (opacity <= 0) return false;
    if (opacity > 255) opacity = 255;
    Span s;
    if (!ClipBlock(x, y, w, h, 0, 0, nullptr, s)) return false;
    const pixel::RowOps& ops = pixel::Ops();
    uint16_t c = To565(color);
    for (int r = 0; r < s.h; ++r)
        ops.fillBlend(Row(s.x, s.y + r), s.w, c, opacity);
    return true;
}

void Surface::FillRaw(const Rect& r, uint16_t value) {
    if (pixels.empty() || !IsConsistent()) return;
    Span1 cx = Cut(r.x, r.w, 0, width), cy = Cut(r.y, r.h, 0, height);
    if (cx.end <= cx.begin || cy.end <= cy.begin) return;
    // Whole rows are one run.
    int w = static_cast<int>(cx.end - cx.begin), h = static_cast<int>(cy.end - cy.begin);
    if (w == width) w *= h, h = 1;
    const pixel::RowOps& ops = pixel::Ops();
    for (int y = 0; y < h; ++y)
        ops.fillSolid(Row(static_cast<int>(cx.begin), static_cast<int>(cy.begin) + y), w, value);
}

}  // namespace zentri
