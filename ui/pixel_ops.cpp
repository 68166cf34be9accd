#include "ui/pixel_ops.h"

#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace zentri::pixel {
namespace {

// Weight w in 0..256 of s against d: (d * (256 - w) + s * w) >> 8 per channel, computed as
// (d * 256 + (s - d) * w) >> 8 (one multiplication). Every partial result fits in a signed
// 16-bit value (|s - d| * 256 <= 16128 and the sum is never negative), so the 16-bit casts
// lose nothing and let compilers use 16-bit vector lanes.
inline uint16_t Mix(uint16_t d, uint16_t s, unsigned w) {
    int iw = static_cast<int>(w);
    int dr = d >> 11, dg = (d >> 5) & 63, db = d & 31;
    int sr = s >> 11, sg = (s >> 5) & 63, sb = s & 31;
    unsigned r = static_cast<uint16_t>((dr << 8) + static_cast<int16_t>((sr - dr) * iw)) >> 8;
    unsigned g = static_cast<uint16_t>((dg << 8) + static_cast<int16_t>((sg - dg) * iw)) >> 8;
    unsigned b = static_cast<uint16_t>((db << 8) + static_cast<int16_t>((sb - db) * iw)) >> 8;
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

// Runs of 32 pixels: all transparent ones are skipped and all opaque ones copied; the others
// go through one branch-free loop, which compilers vectorise.
constexpr int kRun = 32;

inline bool AllEqual(const uint8_t* a, int n, uint64_t pattern) {
    for (int i = 0; i < n; i += 8)
        if (Load8(a + i) != pattern) return false;
    return true;
}

void BlendAlphaPortable(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n) {
    int i = 0;
    for (; i + kRun <= n; i += kRun) {
        if (AllEqual(alpha + i, kRun, 0)) continue;
        if (AllEqual(alpha + i, kRun, kAllOpaque)) {
            std::memcpy(d + i, s + i, kRun * sizeof(uint16_t));
            continue;
        }
        uint16_t* dd = d + i;
        const uint16_t* ss = s + i;
        const uint8_t* aa = alpha + i;
        for (int k = 0; k < kRun; ++k)
            dd[k] = Mix(dd[k], ss[k], OpaqueWeight(aa[k]));
    }
    for (; i < n; ++i)
        d[i] = Mix(d[i], s[i], OpaqueWeight(alpha[i]));
}

void BlendAlphaOpacityPortable(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n,
                               int opacity) {
    unsigned o = static_cast<unsigned>(opacity);
    int i = 0;
    for (; i + kRun <= n; i += kRun) {
        if (AllEqual(alpha + i, kRun, 0)) continue;
        uint16_t* dd = d + i;
        const uint16_t* ss = s + i;
        const uint8_t* aa = alpha + i;
        for (int k = 0; k < kRun; ++k)
            dd[k] = Mix(dd[k], ss[k], static_cast<uint16_t>(aa[k] * o) >> 8);
    }
    for (; i < n; ++i)
        d[i] = Mix(d[i], s[i], (alpha[i] * o) >> 8);
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
        uint16_t* dd = d + i;
        const uint8_t* cc = coverage + i;
        for (int k = 0; k < 8; ++k)
            dd[k] = Mix(dd[k], color, OpaqueWeight(cc[k]));
    }
    for (; i < n; ++i)
        d[i] = Mix(d[i], color, OpaqueWeight(coverage[i]));
}

void BlendCoverageRectPortable(uint16_t* d, ptrdiff_t dstStride, uint16_t color,
                               const uint8_t* coverage, ptrdiff_t coverageStride, int w, int h) {
    for (int y = 0; y < h; ++y, d += dstStride, coverage += coverageStride)
        BlendCoveragePortable(d, color, coverage, w);
}

void FillSolidPortable(uint16_t* d, int n, uint16_t color) {
    // White and black (the screen clear) have two equal bytes: the C library's fill is the
    // fastest there is for them.
    if (n <= 0) return;
    if ((color & 0xFF) == (color >> 8)) {
        std::memset(d, color & 0xFF, static_cast<size_t>(n) * sizeof(uint16_t));
        return;
    }
    for (int i = 0; i < n; ++i)
        d[i] = color;
}

const RowOps kPortable{
    "portable",        BlendConstPortable,    BlendAlphaPortable,        BlendAlphaOpacityPortable,
    FillBlendPortable, BlendCoveragePortable, BlendCoverageRectPortable, FillSolidPortable};

// ---- SSE2 (every x86-64 processor has it) ----
#if defined(__SSE2__)

// Eight pixels: (d * 256 + (s - d) * w) >> 8 per channel, w in 16-bit lanes 0..256.
inline __m128i Channel8(__m128i d, __m128i s, __m128i w) {
    return _mm_add_epi16(_mm_slli_epi16(d, 8), _mm_mullo_epi16(_mm_sub_epi16(s, d), w));
}

inline __m128i Mix8(__m128i d, __m128i s, __m128i w) {
    const __m128i m6 = _mm_set1_epi16(0x3F), m5 = _mm_set1_epi16(0x1F);
    __m128i r = Channel8(_mm_srli_epi16(d, 11), _mm_srli_epi16(s, 11), w);
    __m128i g = Channel8(_mm_and_si128(_mm_srli_epi16(d, 5), m6),
                         _mm_and_si128(_mm_srli_epi16(s, 5), m6), w);
    __m128i b = Channel8(_mm_and_si128(d, m5), _mm_and_si128(s, m5), w);
    // r < 2^13 and g < 2^14: (r >> 8) << 11 and (g >> 8) << 5 are single shifts and a mask.
    r = _mm_and_si128(_mm_slli_epi16(r, 3), _mm_set1_epi16(static_cast<short>(0xF800)));
    g = _mm_and_si128(_mm_srli_epi16(g, 3), _mm_set1_epi16(0x07E0));
    b = _mm_srli_epi16(b, 8);
    return _mm_or_si128(_mm_or_si128(r, g), b);
}

// The same with the source's contribution already computed (fills).
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

void BlendCoverageRectSse2(uint16_t* d, ptrdiff_t dstStride, uint16_t color,
                           const uint8_t* coverage, ptrdiff_t coverageStride, int w, int h) {
    for (int y = 0; y < h; ++y, d += dstStride, coverage += coverageStride)
        BlendCoverageSse2(d, color, coverage, w);
}

const RowOps kSse2{"sse2",        BlendConstSse2,    BlendAlphaSse2,        BlendAlphaOpacitySse2,
                   FillBlendSse2, BlendCoverageSse2, BlendCoverageRectSse2, FillSolidPortable};

// ---- AVX2 (chosen at run time when the processor has it) ----
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__)) && \
    (defined(__GNUC__) || defined(__clang__))
#define ZENTRI_PIXEL_AVX2 1
#define AVX2 __attribute__((target("avx2")))

AVX2 inline __m256i Channel16(__m256i d, __m256i s, __m256i w) {
    return _mm256_add_epi16(_mm256_slli_epi16(d, 8), _mm256_mullo_epi16(_mm256_sub_epi16(s, d), w));
}

// Sixteen pixels; the same arithmetic as Mix8.
AVX2 inline __m256i Mix16(__m256i d, __m256i s, __m256i w) {
    const __m256i m6 = _mm256_set1_epi16(0x3F), m5 = _mm256_set1_epi16(0x1F);
    __m256i r = Channel16(_mm256_srli_epi16(d, 11), _mm256_srli_epi16(s, 11), w);
    __m256i g = Channel16(_mm256_and_si256(_mm256_srli_epi16(d, 5), m6),
                          _mm256_and_si256(_mm256_srli_epi16(s, 5), m6), w);
    __m256i b = Channel16(_mm256_and_si256(d, m5), _mm256_and_si256(s, m5), w);
    r = _mm256_and_si256(_mm256_slli_epi16(r, 3), _mm256_set1_epi16(static_cast<short>(0xF800)));
    g = _mm256_and_si256(_mm256_srli_epi16(g, 3), _mm256_set1_epi16(0x07E0));
    b = _mm256_srli_epi16(b, 8);
    return _mm256_or_si256(_mm256_or_si256(r, g), b);
}

AVX2 inline __m256i Load16(const uint16_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
AVX2 inline void Store16(uint16_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
AVX2 inline __m256i Widen16(__m128i bytes) {
    return _mm256_cvtepu8_epi16(bytes);
}
inline __m128i LoadBytes16(const uint8_t* a) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
}
// 0: all sixteen zero, 1: all 255, 2: mixed.
inline int Kind16(__m128i a) {
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_setzero_si128())) == 0xFFFF) return 0;
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_set1_epi8(-1))) == 0xFFFF) return 1;
    return 2;
}
AVX2 inline __m256i OpaqueWeight16(__m256i a) {
    return _mm256_sub_epi16(a, _mm256_cmpeq_epi16(a, _mm256_set1_epi16(255)));
}

AVX2 void BlendAlphaAvx2(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n) {
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i a = LoadBytes16(alpha + i);
        int kind = Kind16(a);
        if (kind == 0) continue;
        if (kind == 1) {
            Store16(d + i, Load16(s + i));
            continue;
        }
        Store16(d + i, Mix16(Load16(d + i), Load16(s + i), OpaqueWeight16(Widen16(a))));
    }
    BlendAlphaSse2(d + i, s + i, alpha + i, n - i);
}

AVX2 void BlendAlphaOpacityAvx2(uint16_t* d, const uint16_t* s, const uint8_t* alpha, int n,
                                int opacity) {
    __m256i o = _mm256_set1_epi16(static_cast<short>(opacity));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i a = LoadBytes16(alpha + i);
        if (Kind16(a) == 0) continue;
        __m256i w = _mm256_srli_epi16(_mm256_mullo_epi16(Widen16(a), o), 8);
        Store16(d + i, Mix16(Load16(d + i), Load16(s + i), w));
    }
    BlendAlphaOpacitySse2(d + i, s + i, alpha + i, n - i, opacity);
}

AVX2 void FillSolidAvx2(uint16_t* d, int n, uint16_t color) {
    if ((color & 0xFF) == (color >> 8) || n < 16) return FillSolidPortable(d, n, color);
    __m256i c = _mm256_set1_epi16(static_cast<short>(color));
    int i = 0;
    for (; i + 64 <= n; i += 64) {
        Store16(d + i, c);
        Store16(d + i + 16, c);
        Store16(d + i + 32, c);
        Store16(d + i + 48, c);
    }
    for (; i + 16 <= n; i += 16)
        Store16(d + i, c);
    Store16(d + n - 16, c);  // the last few, overlapping
}

AVX2 inline void CoverageRowAvx2(uint16_t* d, __m256i c, uint16_t color, const uint8_t* coverage,
                                 int n) {
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i a = LoadBytes16(coverage + i);
        int kind = Kind16(a);
        if (kind == 0) continue;
        if (kind == 1) {
            Store16(d + i, c);
            continue;
        }
        Store16(d + i, Mix16(Load16(d + i), c, OpaqueWeight16(Widen16(a))));
    }
    if (i < n) BlendCoverageSse2(d + i, color, coverage + i, n - i);
}

AVX2 void BlendCoverageAvx2(uint16_t* d, uint16_t color, const uint8_t* coverage, int n) {
    CoverageRowAvx2(d, _mm256_set1_epi16(static_cast<short>(color)), color, coverage, n);
}

AVX2 void BlendCoverageRectAvx2(uint16_t* d, ptrdiff_t dstStride, uint16_t color,
                                const uint8_t* coverage, ptrdiff_t coverageStride, int w, int h) {
    __m256i c = _mm256_set1_epi16(static_cast<short>(color));
    for (int y = 0; y < h; ++y, d += dstStride, coverage += coverageStride)
        CoverageRowAvx2(d, c, color, coverage, w);
}

// For rows blended at one weight (fills, blits at an opacity) the 16-byte loops measured
// faster than 32-byte ones (graphics_bench), so this set keeps them.
const RowOps kAvx2{"avx2",        BlendConstSse2,    BlendAlphaAvx2,        BlendAlphaOpacityAvx2,
                   FillBlendSse2, BlendCoverageAvx2, BlendCoverageRectAvx2, FillSolidAvx2};
#undef AVX2
#endif
#endif  // __SSE2__

}  // namespace

const RowOps& PortableOps() {
    return kPortable;
}

std::vector<const RowOps*> SimdOps() {
    std::vector<const RowOps*> ops;
#if defined(ZENTRI_PIXEL_AVX2)
    if (__builtin_cpu_supports("avx2")) ops.push_back(&kAvx2);
#endif
#if defined(__SSE2__)
    ops.push_back(&kSse2);
#endif
    return ops;
}

const RowOps& Ops() {
    static const RowOps* best = [] {
        std::vector<const RowOps*> simd = SimdOps();
        return simd.empty() ? &kPortable : simd.front();
    }();
    return *best;
}

}  // namespace zentri::pixel
