// Blending, clipping and the row functions of Surface.

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "ui/pixel_ops.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

WMSurface Filled(int w, int h, uint16_t value, bool withAlpha = false) {
    WMSurface s;
    s.Create(w, h, withAlpha);
    s.FillRaw({0, 0, w, h}, value);
    return s;
}

// A source whose every pixel differs, so that offsets show.
WMSurface Pattern(int w, int h, bool withAlpha) {
    WMSurface s;
    s.Create(w, h, withAlpha);
    for (int i = 0; i < w * h; ++i) {
        s.pixels[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        if (withAlpha) s.alpha[i] = static_cast<uint8_t>(i * 37);
    }
    return s;
}

TEST(SurfaceBlend, FillAtFullOpacityIsComputedByTheFormula) {
    WMSurface white = Filled(4, 4, 0xFFFF);
    EXPECT_TRUE(white.FillRect(0, 0, 4, 4, RGB(0x000000), 255));
    EXPECT_EQ(white.Pixel(3, 3), 0x0000);
    // White over black at 255 stops one step short on every channel: 31*255>>8 = 30.
    WMSurface black = Filled(2, 2, 0x0000);
    black.FillRect(0, 0, 2, 2, RGB(0xFFFFFF), 255);
    EXPECT_EQ(black.Pixel(0, 0), (30 << 11) | (62 << 5) | 30);
}

TEST(SurfaceBlend, OpacityZeroDrawsNothing) {
    WMSurface dst = Filled(4, 4, 0x1234);
    WMSurface src = Filled(4, 4, 0xF800);
    EXPECT_FALSE(dst.FillRect(0, 0, 4, 4, RGB(0xFF0000), 0));
    EXPECT_FALSE(dst.BlitAlpha(0, 0, 4, 4, src, 0));
    EXPECT_FALSE(dst.BlitAlpha(0, 0, 4, 4, src, -5));
    for (uint16_t p : dst.pixels)
        EXPECT_EQ(p, 0x1234);
}

TEST(SurfaceBlend, BlitAlpha255EqualsBlit) {
    for (bool withAlpha : {false, true}) {
        WMSurface src = Pattern(19, 7, withAlpha);
        WMSurface a = Pattern(19, 7, false), b = Pattern(19, 7, false);
        a.Blit(0, 0, 19, 7, src);
        b.BlitAlpha(0, 0, 19, 7, src, 255);
        EXPECT_EQ(a.pixels, b.pixels) << "alpha plane " << withAlpha;
    }
}

TEST(SurfaceBlend, AlphaEdgeBlendsExactlyAsTheFormula) {
    // Red at alpha 128 over white: g = 63 + (-63*128 >> 8) = 63 - 32, b = 31 - 16.
    WMSurface src = Filled(3, 1, 0xF800, true);
    src.alpha = {0, 128, 255};
    WMSurface dst = Filled(3, 1, 0xFFFF);
    EXPECT_TRUE(dst.Blit(0, 0, 3, 1, src));
    EXPECT_EQ(dst.Pixel(0, 0), 0xFFFF);  // transparent: skipped
    EXPECT_EQ(dst.Pixel(1, 0), (31 << 11) | (31 << 5) | 15);
    EXPECT_EQ(dst.Pixel(2, 0), 0xF800);  // opaque: copied
    // With an opacity, the weight is alpha * opacity >> 8 = 64: g = 63 - 16, b = 31 - 8.
    WMSurface dst2 = Filled(3, 1, 0xFFFF);
    dst2.BlitAlpha(0, 0, 3, 1, src, 128);
    EXPECT_EQ(dst2.Pixel(1, 0), (31 << 11) | (47 << 5) | 23);
    EXPECT_EQ(dst2.Pixel(0, 0), 0xFFFF);
}

// A source as wide as the destination, without alpha, covering whole rows: the opacity still
// applies (a plain copy is only right for Blit).
TEST(SurfaceBlend, BlitAtAnOpacityOfWholeRowsBlends) {
    WMSurface src = Filled(6, 3, 0x0000);
    WMSurface dst = Filled(6, 3, 0xFFFF);
    EXPECT_TRUE(dst.BlitAlpha(0, 0, 6, 3, src, 128));
    // White towards black by 128/256: 31 + (-31*128 >> 8) = 15, 63 + (-63*128 >> 8) = 31.
    for (uint16_t p : dst.pixels)
        EXPECT_EQ(p, (15 << 11) | (31 << 5) | 15);
}

// Every row function, portable and SIMD, against the one-pixel formula, on random pixels, all
// lengths around the block size and runs of transparent and opaque alpha.
TEST(SurfaceBlend, RowFunctionsMatchTheFormulaBitForBit) {
    std::mt19937 rng(7);
    std::vector<const pixel::RowOps*> all{&pixel::PortableOps()};
    for (const pixel::RowOps* simd : pixel::SimdOps())
        all.push_back(simd);
    for (int n = 0; n < 100; ++n) {
        std::vector<uint16_t> d0(n), s(n);
        std::vector<uint8_t> a(n);
        for (int i = 0; i < n; ++i) {
            d0[i] = static_cast<uint16_t>(rng());
            s[i] = static_cast<uint16_t>(rng());
            int kind = (i / 8 + n) % 4;  // whole blocks of 0 and of 255, and mixed ones
            a[i] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(rng());
        }
        int weight = static_cast<int>(rng() % 256);
        uint16_t color = static_cast<uint16_t>(rng());
        for (const pixel::RowOps* ops : all) {
            auto check = [&](auto run, auto expect, const char* what) {
                std::vector<uint16_t> d = d0;
                run(d.data());
                for (int i = 0; i < n; ++i)
                    ASSERT_EQ(d[i], expect(i))
                        << ops->name << " " << what << " n=" << n << " i=" << i;
            };
            check([&](uint16_t* d) { ops->blendConst(d, s.data(), n, weight); },
                  [&](int i) { return pixel::Blend(d0[i], s[i], weight); }, "const");
            check(
                [&](uint16_t* d) { ops->blendAlpha(d, s.data(), a.data(), n); },
                [&](int i) {
                    return a[i] == 0 ? d0[i] : a[i] == 255 ? s[i] : pixel::Blend(d0[i], s[i], a[i]);
                },
                "alpha");
            check([&](uint16_t* d) { ops->blendAlphaOpacity(d, s.data(), a.data(), n, weight); },
                  [&](int i) { return pixel::Blend(d0[i], s[i], (a[i] * weight) >> 8); },
                  "alpha+opacity");
            check([&](uint16_t* d) { ops->fillBlend(d, n, color, weight); },
                  [&](int i) { return pixel::Blend(d0[i], color, weight); }, "fill");
            check([&](uint16_t* d) { ops->fillSolid(d, n, color); }, [&](int) { return color; },
                  "solid");
            check([&](uint16_t* d) { ops->fillSolid(d, n, 0xFFFF); }, [&](int) { return 0xFFFF; },
                  "white");
            check(
                [&](uint16_t* d) {
                    ops->blendCoverageRect(d, 0, color, a.data(), 0, n, n ? 1 : 0);
                },
                [&](int i) {
                    return a[i] == 0     ? d0[i]
                           : a[i] == 255 ? color
                                         : pixel::Blend(d0[i], color, a[i]);
                },
                "coverage rect");
            check([&](uint16_t* d) { ops->blendCoverage(d, color, a.data(), n); },
                  [&](int i) {
                      return a[i] == 0     ? d0[i]
                             : a[i] == 255 ? color
                                           : pixel::Blend(d0[i], color, a[i]);
                  },
                  "coverage");
        }
    }
}

TEST(SurfaceClip, BlockOutsideTheClipIsRejected) {
    WMSurface dst = Filled(20, 20, 0xFFFF);
    WMSurface src = Pattern(5, 5, false);
    dst.PushClip({10, 10, 5, 5});
    EXPECT_FALSE(dst.Blit(0, 0, 5, 5, src));
    EXPECT_FALSE(dst.FillRect(15, 0, 5, 5, RGB(0), 255));
    dst.SetOrigin(6, 6);  // (0,0) now lands at (6,6): overlaps the clip at (10..10, 10..10)
    EXPECT_TRUE(dst.Blit(0, 0, 5, 5, src));
    dst.PopClip();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (x != 10 || y != 10) {
                EXPECT_EQ(dst.Pixel(x, y), 0xFFFF) << x << "," << y;
            }
    EXPECT_EQ(dst.Pixel(10, 10), src.Pixel(4, 4));
}

TEST(SurfaceClip, PartialClipMovesTheSourceOffset) {
    WMSurface dst = Filled(10, 10, 0xFFFF);
    WMSurface src = Pattern(8, 8, false);
    dst.PushClip({3, 2, 10, 10});
    EXPECT_TRUE(dst.Blit(1, 1, 6, 6, src, 1, 1));
    EXPECT_EQ(dst.Pixel(3, 2), src.Pixel(3, 2));
    EXPECT_EQ(dst.Pixel(6, 6), src.Pixel(6, 6));
    EXPECT_EQ(dst.Pixel(2, 2), 0xFFFF);
    EXPECT_EQ(dst.Pixel(7, 7), 0xFFFF);
}

TEST(SurfaceClip, InvalidSourceBlocksAreRejected) {
    WMSurface dst = Filled(10, 10, 0xFFFF);
    WMSurface src = Pattern(4, 4, true);
    WMSurface empty;
    EXPECT_FALSE(dst.Blit(0, 0, 4, 4, empty));
    EXPECT_FALSE(dst.Blit(0, 0, 4, 4, src, -1, 0));
    EXPECT_FALSE(dst.Blit(0, 0, 4, 4, src, 1, 0));  // one column past the source
    EXPECT_FALSE(dst.Blit(0, 0, 4, 4, src, 0, INT_MAX));
    EXPECT_FALSE(dst.Blit(0, 0, 0, 4, src));
    EXPECT_FALSE(dst.BlitAlpha(0, 0, 4, -1, src, 100));
    for (uint16_t p : dst.pixels)
        EXPECT_EQ(p, 0xFFFF);
}

// Clips larger than the surface, origins and coordinates at the ends of the int range: every
// call stays inside both pixel arrays (the sanitizer build checks the memory as well).
TEST(SurfaceClip, NothingIsWrittenOutsideTheSurface) {
    WMSurface dst = Filled(16, 16, 0xFFFF);
    WMSurface src = Pattern(64, 64, true);
    dst.PushClip({-1000, -1000, 5000, 5000});
    EXPECT_TRUE(dst.FillRect(-50, -50, 1000, 1000, RGB(0), 255));
    for (uint16_t p : dst.pixels)
        EXPECT_EQ(p, 0);
    EXPECT_TRUE(dst.Blit(-20, -20, 64, 64, src));
    EXPECT_TRUE(dst.BlitAlpha(-20, -20, 64, 64, src, 77));
    EXPECT_FALSE(dst.Blit(INT_MAX - 3, 0, 64, 64, src));
    EXPECT_FALSE(dst.FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, RGB(0), 255));
    dst.FillRaw({0, 0, 16, 16}, 0x0000);
    // Blue at 255 over black: 0 + (31 * 255 >> 8) = 30.
    EXPECT_TRUE(dst.FillRect(INT_MIN / 2, INT_MIN / 2, INT_MAX, INT_MAX, RGB(0xFF), 255));
    dst.SetOrigin(INT_MAX, INT_MAX);
    EXPECT_FALSE(dst.FillRect(INT_MAX, INT_MAX, 10, 10, RGB(0), 255));
    dst.SetOrigin(0, 0);
    dst.PopClip();
    dst.PushClip({INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX});
    EXPECT_FALSE(dst.FillRect(0, 0, 16, 16, RGB(0), 255));
    dst.FillRaw({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0x1111);
    dst.FillRaw({-5, -5, 10, 10}, 0x2222);
    EXPECT_EQ(dst.Pixel(4, 4), 0x2222);
    EXPECT_EQ(dst.Pixel(5, 5), 30);  // the blue fill above
    EXPECT_EQ(dst.pixels.size(), 256u);
}

// Fields that disagree (pixels of another size, a short alpha plane) are refused, not read or
// written past their end.
TEST(SurfaceClip, InconsistentSurfacesAreRefused) {
    WMSurface dst = Filled(8, 8, 0xFFFF);
    WMSurface src = Pattern(8, 8, true);
    src.alpha.resize(10);
    EXPECT_FALSE(dst.Blit(0, 0, 8, 8, src));
    src.alpha.clear();
    src.width = 9;
    EXPECT_FALSE(dst.BlitAlpha(0, 0, 8, 8, src, 100));
    dst.height = 20;
    EXPECT_FALSE(dst.FillRect(0, 0, 8, 8, RGB(0), 255));
    dst.FillRaw({0, 0, 8, 20}, 0);
    dst.height = 8;
    for (uint16_t p : dst.pixels)
        EXPECT_EQ(p, 0xFFFF);
}

// A surface blitted onto itself, overlapping, gives what a blit from a copy gives.
TEST(SurfaceClip, OverlappingBlitFromItselfReadsTheOriginalPixels) {
    for (bool withAlpha : {false, true}) {
        for (int opacity : {255, 100}) {
            WMSurface s = Pattern(12, 12, withAlpha);
            WMSurface copy = s;
            WMSurface expected = s;
            expected.BlitAlpha(2, 3, 9, 8, copy, opacity, 1, 1);
            s.BlitAlpha(2, 3, 9, 8, s, opacity, 1, 1);
            EXPECT_EQ(s.pixels, expected.pixels) << withAlpha << " " << opacity;
        }
    }
}

TEST(SurfaceClip, FillRawIgnoresOriginAndClip) {
    WMSurface s = Filled(8, 8, 0x0000);
    s.SetOrigin(3, 3);
    s.PushClip({0, 0, 1, 1});
    s.FillRaw({2, 2, 2, 2}, 0xFFFF);
    EXPECT_EQ(s.Pixel(2, 2), 0xFFFF);
    EXPECT_EQ(s.Pixel(3, 3), 0xFFFF);
    EXPECT_EQ(s.Pixel(4, 4), 0x0000);
}

TEST(SurfaceColor, From565RepeatsTheHighBits) {
    EXPECT_EQ(From565(0xFFFF), (Color{255, 255, 255}));
    EXPECT_EQ(From565(0x0000), (Color{0, 0, 0}));
    EXPECT_EQ(From565(0x8410), (Color{0x84, 0x82, 0x84}));
    for (uint32_t p = 0; p < 0x10000; p += 97)
        EXPECT_EQ(To565(From565(static_cast<uint16_t>(p))), p);
}

}  // namespace
}  // namespace zentri
