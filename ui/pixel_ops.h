#pragma once
// The pixel loops behind Surface and text drawing. Every blend is the integer formula
//     result = dst + ((src - dst) * a >> 8)
// on each 5/6/5-bit channel of an RGB565 pixel, with an arithmetic shift (negative differences
// round down), a being a weight 0..255. The same value is (dst * (256 - a) + src * a) >> 8,
// which needs no signed arithmetic and gives src exactly for a = 256; the row functions use
// that form. There is one portable implementation and, on processors that have it, a SIMD one;
// both give bit-identical results.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentri::pixel {

// One pixel: the reference that every row function matches.
inline uint16_t Blend(uint16_t dst, uint16_t src, int a) {
    int dr = dst >> 11, dg = (dst >> 5) & 0x3F, db = dst & 0x1F;
    int sr = src >> 11, sg = (src >> 5) & 0x3F, sb = src & 0x1F;
    dr += ((sr - dr) * a) >> 8;
    dg += ((sg - dg) * a) >> 8;
    db += ((sb - db) * a) >> 8;
    return static_cast<uint16_t>((dr << 11) | (dg << 5) | db);
}

// Row functions over n pixels.
struct RowOps {
    const char* name;
    // d[i] = Blend(d[i], s[i], a) for a weight 0..255.
    void (*blendConst)(uint16_t* d, const uint16_t* s, int n, int a);
    // Through an alpha plane: alpha 0 leaves d[i], 255 copies s[i], otherwise Blend.
    void (*blendAlpha)(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n);
    // Through an alpha plane at an opacity 0..255: Blend(d[i], s[i], alpha[i] * opacity >> 8).
    void (*blendAlphaOpacity)(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n,
                              int opacity);
    // d[i] = Blend(d[i], color, a) for a weight 0..255 (255 included: it is not a copy).
    void (*fillBlend)(uint16_t* d, int n, uint16_t color, int a);
    // Glyph coverage in one color: 0 leaves d[i], 255 sets color, otherwise Blend.
    void (*blendCoverage)(uint16_t* d, uint16_t color, const uint8_t* coverage, int n);
    // blendCoverage over h rows of w pixels (one call per glyph); strides in elements.
    void (*blendCoverageRect)(uint16_t* d, ptrdiff_t dstStride, uint16_t color,
                              const uint8_t* coverage, ptrdiff_t coverageStride, int w, int h);
    // d[i] = color.
    void (*fillSolid)(uint16_t* d, int n, uint16_t color);
};

// Plain C++ loops (which compilers may vectorise on their own).
const RowOps& PortableOps();
// Hand-written SIMD loops that this processor runs, best first: AVX2 (chosen at run time) and
// SSE2 on x86; empty elsewhere.
std::vector<const RowOps*> SimdOps();
// The best of them, else the portable loops; what Surface and text drawing use.
const RowOps& Ops();

}  // namespace zentri::pixel
