#include "ui/pixel_ops.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentri::pixel {
namespace {

// Weight w in 0..256 of s against d. Every partial result stays below 2^16 (63 * 256 at most),
// so the 16-bit casts lose nothing and let compilers use 16-bit vector lanes.
inline uint16_t Mix(uint16_t d, uint16_t s, unsigned w) {
    unsigned iw = 256 - w;
    unsigned r = static_cast<uint16_t>((d >> 11) * iw + (s >> 11) * w) >> 8;
    unsigned g = static_cast<uint16_t>(((d >> 5) & 63u) * iw + ((s >> 5) & 63u) * w) >> 8;
    unsigned b = static_cast<uint16_t>((d & 31u) * iw + (s & 31u) * w) >> 8;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// An alpha of 255 copies the source: weight 256 does exactly that.
inline unsigned OpaqueWeight(unsigned a) {
    return a + (a == 255);
}

// Eight alpha values at once, for skipping transparent and copying opaque runs.
inline uint64_t Load8(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
constexpr uint64_t kAllOpaque = ~uint64_t{0};

// ---- portable ----

void BlendConstPortable(uint16_t* d, const uint16_t* s, int n, int a) {
    for (int i = 0; i < n; ++i)
        d[i] = Mix(d[i], s[i], static_cast<unsigned>(a));
}

void BlendAlphaPortable(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t block = Load8(alpha + i);
        if (block == 0) continue;
        if (block == kAllOpaque) {
            std::memcpy(d + i, s + i, 8 * sizeof(uint16_t));
            continue;
        }
        for (int k = i; k < i + 8; ++k)
            d[k] = Mix(d[k], s[k], OpaqueWeight(alpha[k]));
    }
    for (; i < n; ++i)
        if (alpha[i]) d[i] = Mix(d[i], s[i], OpaqueWeight(alpha[i]));
}

void BlendAlphaOpacityPortable(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n,
                               int opacity) {
    unsigned o = static_cast<unsigned>(opacity);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        if (Load8(alpha + i) == 0) continue;
        for (int k = i; k < i + 8; ++k)
            d[k] = Mix(d[k], s[k], static_cast<uint16_t>(alpha[k] * o) >> 8);
    }
    for (; i < n; ++i)
        if (alpha[i]) d[i] = Mix(d[i], s[i], (alpha[i] * o) >> 8);
}

void FillBlendPortable(uint16_t* d, int n, uint16_t color, int a) {
    for (int i = 0; i < n; ++i)
        d[i] = Mix(d[i], color, static_cast<unsigned>(a));
}

void BlendCoveragePortable(uint16_t* d, uint16_t color, const uint8_t* coverage, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t block = Load8(coverage + i);
        if (block == 0) continue;
        if (block == kAllOpaque) {
            for (int k = i; k < i + 8; ++k)
                d[k] = color;
            continue;
        }
        for (int k = i; k < i + 8; ++k)
            d[k] = Mix(d[k], color, OpaqueWeight(coverage[k]));
    }
    for (; i < n; ++i)
        if (coverage[i]) d[i] = Mix(d[i], color, OpaqueWeight(coverage[i]));
}

const RowOps kPortable{"portable",         BlendConstPortable,
                       BlendAlphaPortable, BlendAlphaOpacityPortable,
                       FillBlendPortable,  BlendCoveragePortable};

// ---- SSE2 (every x86-64 processor has it) ----
#if defined(__SSE2__)

// Eight pixels: (d * (256 - w) + s * w) >> 8 per channel, w in 16-bit lanes 0..256.
inline __m128i Mix8(__m128i d, __m128i s, __m128i w) {
    const __m128i m6 = _mm_set1_epi16(0x3F), m5 = _mm_set1_epi16(0x1F);
    __m128i iw = _mm_sub_epi16(_mm_set1_epi16(256), w);
    __m128i r = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 11), iw),
                              _mm_mullo_epi16(_mm_srli_epi16(s, 11), w));
    __m128i g = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(d, 5), m6), iw),
                              _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(s, 5), m6), w));
    __m128i b = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, m5), iw),
                              _mm_mullo_epi16(_mm_and_si128(s, m5), w));
    // r < 2^13 and g < 2^14: (r >> 8) << 11 and (g >> 8) << 5 are single shifts and a mask.
    r = _mm_and_si128(_mm_slli_epi16(r, 3), _mm_set1_epi16(static_cast<short>(0xF800)));
    g = _mm_and_si128(_mm_srli_epi16(g, 3), _mm_set1_epi16(0x07E0));
    b = _mm_srli_epi16(b, 8);
    return _mm_or_si128(_mm_or_si128(r, g), b);
}

// The same with the source's contribution already computed (fills, text).
inline __m128i MixPremul8(__m128i d, __m128i sr, __m128i sg, __m128i sb, __m128i iw) {
    const __m128i m6 = _mm_set1_epi16(0x3F), m5 = _mm_set1_epi16(0x1F);
    __m128i r = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 11), iw), sr);
    __m128i g = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(d, 5), m6), iw), sg);
    __m128i b = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, m5), iw), sb);
    r = _mm_and_si128(_mm_slli_epi16(r, 3), _mm_set1_epi16(static_cast<short>(0xF800)));
    g = _mm_and_si128(_mm_srli_epi16(g, 3), _mm_set1_epi16(0x07E0));
    b = _mm_srli_epi16(b, 8);
    return _mm_or_si128(_mm_or_si128(r, g), b);
}

inline __m128i LoadPixels(const uint16_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void StorePixels(uint16_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
// Eight alpha bytes widened to 16-bit lanes.
inline __m128i LoadAlpha8(const uint8_t* a) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)),
                             _mm_setzero_si128());
}
// 255 -> 256 in every lane (cmpeq yields -1 where equal).
inline __m128i OpaqueWeight8(__m128i a) {
    return _mm_sub_epi16(a, _mm_cmpeq_epi16(a, _mm_set1_epi16(255)));
}

void BlendConstSse2(uint16_t* d, const uint16_t* s, int n, int a) {
    __m128i w = _mm_set1_epi16(static_cast<short>(a));
    int i = 0;
    for (; i + 8 <= n; i += 8)
        StorePixels(d + i, Mix8(LoadPixels(d + i), LoadPixels(s + i), w));
    for (; i < n; ++i)
        d[i] = Mix(d[i], s[i], static_cast<unsigned>(a));
}

void BlendAlphaSse2(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t block = Load8(alpha + i);
        if (block == 0) continue;
        if (block == kAllOpaque) {
            StorePixels(d + i, LoadPixels(s + i));
            continue;
        }
        __m128i w = OpaqueWeight8(LoadAlpha8(alpha + i));
        StorePixels(d + i, Mix8(LoadPixels(d + i), LoadPixels(s + i), w));
    }
    for (; i < n; ++i)
        if (alpha[i]) d[i] = Mix(d[i], s[i], OpaqueWeight(alpha[i]));
}

void BlendAlphaOpacitySse2(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n,
                           int opacity) {
    __m128i o = _mm_set1_epi16(static_cast<short>(opacity));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        if (Load8(alpha + i) == 0) continue;
        // alpha * opacity < 2^16, so the low 16 bits of the product are the whole product.
        __m128i w = _mm_srli_epi16(_mm_mullo_epi16(LoadAlpha8(alpha + i), o), 8);
        StorePixels(d + i, Mix8(LoadPixels(d + i), LoadPixels(s + i), w));
    }
    for (; i < n; ++i)
        if (alpha[i]) d[i] = Mix(d[i], s[i], (alpha[i] * static_cast<unsigned>(opacity)) >> 8);
}

void FillBlendSse2(uint16_t* d, int n, uint16_t color, int a) {
    unsigned w = static_cast<unsigned>(a);
    __m128i sr = _mm_set1_epi16(static_cast<short>((color >> 11) * w));
    __m128i sg = _mm_set1_epi16(static_cast<short>(((color >> 5) & 63u) * w));
    __m128i sb = _mm_set1_epi16(static_cast<short>((color & 31u) * w));
    __m128i iw = _mm_set1_epi16(static_cast<short>(256 - w));
    int i = 0;
    for (; i + 8 <= n; i += 8)
        StorePixels(d + i, MixPremul8(LoadPixels(d + i), sr, sg, sb, iw));
    for (; i < n; ++i)
        d[i] = Mix(d[i], color, w);
}

void BlendCoverageSse2(uint16_t* d, uint16_t color, const uint8_t* coverage, int n) {
    __m128i c = _mm_set1_epi16(static_cast<short>(color));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t block = Load8(coverage + i);
        if (block == 0) continue;
        if (block == kAllOpaque) {
            StorePixels(d + i, c);
            continue;
        }
        __m128i w = OpaqueWeight8(LoadAlpha8(coverage + i));
        StorePixels(d + i, Mix8(LoadPixels(d + i), c, w));
    }
    for (; i < n; ++i)
        if (coverage[i]) d[i] = Mix(d[i], color, OpaqueWeight(coverage[i]));
}

const RowOps kSse2{"sse2",        BlendConstSse2,   BlendAlphaSse2, BlendAlphaOpacitySse2,
                   FillBlendSse2, BlendCoverageSse2};
#endif

}  // namespace

const RowOps& PortableOps() {
    return kPortable;
}

const RowOps* SimdOps() {
#if defined(__SSE2__)
    return &kSse2;
#else
    return nullptr;
#endif
}

const RowOps& Ops() {
    const RowOps* simd = SimdOps();
    return simd ? *simd : kPortable;
}

}  // namespace zentri::pixel
