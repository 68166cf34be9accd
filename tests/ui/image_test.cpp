// Decoding (every PNG kind, JPEG), malformed and oversized files, scaled copies and the pool.

#include <gtest/gtest.h>

#include <random>

#include "platform/paths.h"
#include "tests/support/temp_device.h"
#include "tests/ui/image_fixtures.h"
#include "ui/image_pool.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

using test::MakePng;
using test::PngSpec;

constexpr uint16_t kRed = 0xF800, kWhite = 0xFFFF;

WMSurface Decode(const std::vector<uint8_t>& bytes) {
    WMSurface s;
    s.LoadBuffer(bytes.data(), bytes.size());
    return s;
}

WMSurface WhiteSurface(int w, int h) {
    WMSurface s;
    s.Create(w, h, false);
    return s;
}

std::vector<uint8_t> RedEdge() {
    return MakePng(test::RgbaSpec(4, 1, [](int x, int) {
        static const uint32_t alpha[] = {0, 128, 255, 64};
        return (alpha[x] << 24) | 0xFF0000;
    }));
}

TEST(ImageDecode, RgbaKeepsItsAlphaAndBlendsOverWhite) {
    WMSurface img = Decode(RedEdge());
    ASSERT_EQ(img.width, 4);
    ASSERT_TRUE(img.HasAlpha());
    EXPECT_EQ(img.alpha, (std::vector<uint8_t>{0, 128, 255, 64}));
    EXPECT_EQ(img.Pixel(2, 0), kRed);
    WMSurface dst = WhiteSurface(4, 1);
    dst.Blit(0, 0, 4, 1, img);
    EXPECT_EQ(dst.Pixel(0, 0), kWhite);
    EXPECT_EQ(dst.Pixel(1, 0), (31 << 11) | (31 << 5) | 15);  // 63 - 32, 31 - 16
    EXPECT_EQ(dst.Pixel(2, 0), kRed);
    EXPECT_EQ(dst.Pixel(3, 0), (31 << 11) | (47 << 5) | 23);  // 63 - 16, 31 - 8
}

TEST(ImageDecode, RgbHasNoAlphaAndIsCopied) {
    PngSpec spec{3, 1, 2, 8, false, {255, 0, 0, 0, 255, 0, 8, 4, 8}, {}, {}};
    WMSurface img = Decode(MakePng(spec));
    ASSERT_TRUE(img.HasPixels());
    EXPECT_FALSE(img.HasAlpha());
    WMSurface dst = WhiteSurface(3, 1);
    dst.Blit(0, 0, 3, 1, img);
    EXPECT_EQ(dst.pixels, (std::vector<uint16_t>{kRed, 0x07E0, (1 << 11) | (1 << 5) | 1}));
}

TEST(ImageDecode, PaletteGreyAndDeepKinds) {
    // Palette with tRNS at 2 bits a pixel: entry 0 transparent, 1 half, 2 opaque (no entry).
    PngSpec pal{3, 1, 3, 2, false, {0, 1, 2}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 128}};
    WMSurface p = Decode(MakePng(pal));
    ASSERT_TRUE(p.HasAlpha());
    EXPECT_EQ(p.alpha, (std::vector<uint8_t>{0, 128, 255}));
    EXPECT_EQ(p.pixels, (std::vector<uint16_t>{kRed, 0x07E0, 0x001F}));
    // Palette without tRNS is opaque.
    pal.paletteAlpha.clear();
    EXPECT_FALSE(Decode(MakePng(pal)).HasAlpha());

    PngSpec grey1{4, 1, 0, 1, false, {0, 1, 1, 0}, {}, {}};
    EXPECT_EQ(Decode(MakePng(grey1)).pixels, (std::vector<uint16_t>{0, kWhite, kWhite, 0}));
    PngSpec grey8{2, 1, 0, 8, false, {0x80, 0x10}, {}, {}};
    WMSurface g = Decode(MakePng(grey8));
    EXPECT_FALSE(g.HasAlpha());
    EXPECT_EQ(g.pixels,
              (std::vector<uint16_t>{(16 << 11) | (32 << 5) | 16, (2 << 11) | (4 << 5) | 2}));
    PngSpec greyAlpha{1, 1, 4, 8, false, {0xFF, 0x40}, {}, {}};
    WMSurface ga = Decode(MakePng(greyAlpha));
    ASSERT_TRUE(ga.HasAlpha());
    EXPECT_EQ(ga.alpha[0], 0x40);
    EXPECT_EQ(ga.pixels[0], kWhite);

    // 16 bits a sample come down to 8 (0x1234 -> 0x12).
    PngSpec deep{2, 1, 6, 16, false, {0xFFFF, 0, 0x1234, 0x8080, 0, 0xFFFF, 0, 0xFFFF}, {}, {}};
    WMSurface d = Decode(MakePng(deep));
    ASSERT_TRUE(d.HasAlpha());
    EXPECT_EQ(d.pixels[0], (31 << 11) | (0x12 >> 3));
    EXPECT_EQ(d.alpha[0], 0x80);
    EXPECT_EQ(d.pixels[1], 0x07E0);
    EXPECT_EQ(d.alpha[1], 0xFF);
}

TEST(ImageDecode, InterlacedEqualsPlain) {
    auto spec = test::RgbaSpec(13, 9, [](int x, int y) {
        return (static_cast<uint32_t>(x * 19 + y) << 24) |
               static_cast<uint32_t>(x * 40503 + y * 977);
    });
    WMSurface plain = Decode(MakePng(spec));
    spec.interlaced = true;
    WMSurface interlaced = Decode(MakePng(spec));
    ASSERT_TRUE(plain.HasPixels());
    EXPECT_EQ(interlaced.pixels, plain.pixels);
    EXPECT_EQ(interlaced.alpha, plain.alpha);
}

std::vector<uint8_t> TwoColourRgb(int w, int h) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rgb.insert(rgb.end(), {uint8_t(x < w / 2 ? 200 : 20), uint8_t(100),
                                   uint8_t(x < w / 2 ? 30 : 220)});
    return rgb;
}

TEST(ImageDecode, JpegIsOpaque) {
    for (bool progressive : {false, true}) {
        WMSurface img = Decode(test::MakeJpeg(32, 16, TwoColourRgb(32, 16), 95, progressive));
        ASSERT_EQ(img.width, 32);
        ASSERT_EQ(img.height, 16);
        EXPECT_FALSE(img.HasAlpha());
        Color left = From565(img.Pixel(4, 8)), right = From565(img.Pixel(28, 8));
        EXPECT_NEAR(left.r, 200, 10);
        EXPECT_NEAR(left.b, 30, 10);
        EXPECT_NEAR(right.r, 20, 10);
        EXPECT_NEAR(right.b, 220, 10);
    }
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24), p[1] = uint8_t(v >> 16), p[2] = uint8_t(v >> 8), p[3] = uint8_t(v);
}

// A valid PNG whose IHDR (with a correct CRC) claims another size.
std::vector<uint8_t> PngClaiming(uint32_t w, uint32_t h) {
    std::vector<uint8_t> png = MakePng(test::RgbaSpec(8, 8, [](int, int) { return 0xFF00FF00u; }));
    Put32(&png[16], w);
    Put32(&png[20], h);
    Put32(&png[29], Crc32(&png[12], 17));
    return png;
}

std::vector<uint8_t> JpegClaiming(uint16_t w, uint16_t h) {
    std::vector<uint8_t> jpg = test::MakeJpeg(16, 16, TwoColourRgb(16, 16));
    for (size_t i = 2; i + 9 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {  // SOF0: length, precision, height, width
            jpg[i + 5] = uint8_t(h >> 8), jpg[i + 6] = uint8_t(h);
            jpg[i + 7] = uint8_t(w >> 8), jpg[i + 8] = uint8_t(w);
            break;
        }
    return jpg;
}

void ExpectEmpty(const std::vector<uint8_t>& bytes, const char* what) {
    WMSurface s;
    s.Create(5, 5, true);
    EXPECT_FALSE(s.LoadBuffer(bytes.data(), bytes.size())) << what;
    EXPECT_FALSE(s.HasPixels()) << what;
    EXPECT_FALSE(s.HasAlpha()) << what;
    EXPECT_EQ(s.width, 0) << what;
    // An empty surface draws nothing.
    WMSurface dst = WhiteSurface(4, 4);
    EXPECT_FALSE(dst.Blit(0, 0, 4, 4, s)) << what;
}

TEST(ImageDecode, MalformedAndOversizedGiveAnEmptySurface) {
    std::vector<uint8_t> png = RedEdge();
    std::vector<uint8_t> big =
        MakePng(test::RgbaSpec(64, 64, [](int x, int y) { return uint32_t(x * y * 2654435761u); }));
    std::vector<uint8_t> jpg = test::MakeJpeg(64, 64, TwoColourRgb(64, 64));
    ExpectEmpty({}, "empty");
    ExpectEmpty(std::vector<uint8_t>(big.begin(), big.begin() + big.size() / 2), "truncated PNG");
    ExpectEmpty(std::vector<uint8_t>(big.begin(), big.end() - 20),
                "PNG without its last chunk data");
    ExpectEmpty(std::vector<uint8_t>(jpg.begin(), jpg.begin() + jpg.size() / 2), "truncated JPEG");
    ExpectEmpty(std::vector<uint8_t>(png.begin(), png.begin() + 8), "PNG signature only");
    ExpectEmpty(PngClaiming(100000, 100000), "PNG of 100000 x 100000");
    ExpectEmpty(PngClaiming(5000, 8), "PNG over 4096 wide");
    ExpectEmpty(JpegClaiming(60000, 60000), "JPEG of 60000 x 60000");
    ExpectEmpty(JpegClaiming(4097, 16), "JPEG over 4096 wide");
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    ExpectEmpty(gif, "GIF");
    std::mt19937 rng(11);
    for (int i = 0; i < 50; ++i) {
        std::vector<uint8_t> noise(1 + rng() % 3000);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(rng());
        // Random bytes, and random bytes behind each signature.
        if (i % 3 == 1)
            std::copy(png.begin(), png.begin() + std::min<size_t>(16, noise.size()), noise.begin());
        if (i % 3 == 2)
            std::copy(jpg.begin(), jpg.begin() + std::min<size_t>(20, noise.size()), noise.begin());
        ExpectEmpty(noise, "noise");
    }
    // Corrupt bytes in the middle of the image data.
    std::vector<uint8_t> corrupt = big;
    for (size_t i = 60; i < corrupt.size() - 20; i += 7)
        corrupt[i] ^= 0x5A;
    ExpectEmpty(corrupt, "corrupt PNG data");
}

TEST(ImageFiles, LoadFileAndMissingOrEmptyFiles) {
    test::TempDevice device;
    std::vector<uint8_t> red = RedEdge();
    device.WriteFile("\\Images\\red.png", std::string(red.begin(), red.end()));
    device.WriteFile("\\Images\\empty.png", "");
    WMSurface s;
    EXPECT_TRUE(s.LoadFile(u"\\IMAGES\\Red.PNG"));  // device paths compare without case
    EXPECT_EQ(s.width, 4);
    EXPECT_FALSE(s.LoadFile(u"\\Images\\empty.png"));
    EXPECT_FALSE(s.HasPixels());
    EXPECT_FALSE(s.LoadFile(u"\\Images\\missing.png"));
    EXPECT_TRUE(s.LoadFileScaled(u"\\Images\\red.png", 9, 3));
    EXPECT_EQ(s.width, 9);
    EXPECT_EQ(s.height, 3);
    EXPECT_TRUE(s.HasAlpha());
    EXPECT_FALSE(s.LoadFileScaled(u"\\Images\\red.png", 0, 3));
    EXPECT_FALSE(s.HasPixels());
}

// 565 -> 8-bit RGB PNG -> 565 gives the same pixels; a rectangle is cut to the surface.
TEST(PngWriter, RoundTripsPixelsAndCutsTheArea) {
    WMSurface s;
    s.Create(7, 5, false);
    for (size_t i = 0; i < s.pixels.size(); ++i)
        s.pixels[i] = static_cast<uint16_t>(i * 9973);
    WMSurface back = Decode(EncodePng(s, {0, 0, 7, 5}));
    EXPECT_EQ(back.pixels, s.pixels);
    EXPECT_FALSE(back.HasAlpha());
    WMSurface part = Decode(EncodePng(s, {5, 3, 10, 10}));
    ASSERT_EQ(part.width, 2);
    ASSERT_EQ(part.height, 2);
    EXPECT_EQ(part.Pixel(1, 1), s.Pixel(6, 4));
    EXPECT_TRUE(EncodePng(s, {7, 0, 3, 3}).empty());
    test::TempDevice device;
    EXPECT_TRUE(SavePng(s, device.Root() / "shots" / "a.png"));
    EXPECT_FALSE(SavePng(WMSurface{}, device.Root() / "empty.png"));
    EXPECT_FALSE(std::filesystem::exists(device.Root() / "empty.png"));
}

shared_ptr<WMSurface> Flat(int w, int h, uint16_t value, uint8_t alpha) {
    auto s = MakeShared<WMSurface>();
    s->Create(w, h, alpha != 255);
    s->FillRaw({0, 0, w, h}, value);
    std::fill(s->alpha.begin(), s->alpha.end(), alpha);
    return s;
}

TEST(ImageScaled, TwoPixelMinimumCacheAndSelf) {
    shared_ptr<WMSurface> s = Flat(10, 10, 0x1234, 200);
    shared_ptr<Surface> tiny = s->Scaled(1, 1);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->width, 2);
    EXPECT_EQ(tiny->height, 2);
    EXPECT_EQ(s->Scaled(1, 1), tiny);
    EXPECT_EQ(s->Scaled(0, -7), tiny);
    EXPECT_EQ(s->Scaled(10, 10).get(), s.get());
    shared_ptr<Surface> other = s->Scaled(20, 5);
    EXPECT_NE(other, tiny);
    EXPECT_EQ(s->Scaled(20, 5), other);
    // A flat picture keeps its exact colour and alpha at any size.
    for (const shared_ptr<Surface>& c : {tiny, other}) {
        for (uint16_t p : c->pixels)
            EXPECT_EQ(p, 0x1234);
        for (uint8_t a : c->alpha)
            EXPECT_EQ(a, 200);
    }
    // A surface without pixels answers itself.
    auto empty = MakeShared<WMSurface>();
    EXPECT_EQ(empty->Scaled(5, 5).get(), empty.get());
}

TEST(ImageScaled, UncountedSurfaceIsNeverHandedToACountedPointer) {
    WMSurface local;
    local.Create(6, 4, false);
    local.FillRaw({0, 0, 6, 4}, 0x0F0F);
    shared_ptr<Surface> same = local.Scaled(6, 4);
    ASSERT_TRUE(same);
    EXPECT_NE(same.get(), &local);
    EXPECT_EQ(same->pixels, local.pixels);
    EXPECT_EQ(local.Scaled(6, 4), same);
    same = nullptr;  // releasing it must not touch `local`
    EXPECT_EQ(local.Pixel(0, 0), 0x0F0F);
}

TEST(ImageScaled, ShrinkingAveragesInsteadOfAliasing) {
    // One-pixel black and white columns, shrunk to a quarter, become even grey.
    auto s = MakeShared<WMSurface>();
    s->Create(64, 8, false);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            s->pixels[y * 64 + x] = x % 2 ? 0xFFFF : 0x0000;
    shared_ptr<Surface> q = s->Scaled(16, 2);
    for (int x = 1; x < 15; ++x) {
        Color c = From565(q->Pixel(x, 1));
        EXPECT_NEAR(c.g, 128, 12) << x;
    }
}

class ImagePoolTest : public ::testing::Test {
  protected:
    void SetUp() override { ImagePool::Instance().SetFolder(u"\\Program Files\\Zentri\\"); }
    void Write(const char* name, uint32_t argb) {
        auto png = MakePng(test::RgbaSpec(3, 3, [&](int, int) { return argb; }));
        device_.WriteFile(std::string("\\Program Files\\Zentri\\") + name,
                          std::string(png.begin(), png.end()));
    }
    test::TempDevice device_;
};

TEST_F(ImagePoolTest, ModeOneDecodesOnce) {
    ImagePool& pool = ImagePool::Instance();
    Write("once.png", 0xFFFF0000);
    shared_ptr<Surface> a = pool.Get(u"once.png", 1);
    ASSERT_TRUE(a->HasPixels());
    EXPECT_EQ(a->Pixel(0, 0), kRed);
    // The file changes; mode 1 does not decode again, mode 0 does.
    Write("once.png", 0xFF0000FF);
    EXPECT_EQ(pool.Get(u"once.png", 1), a);
    EXPECT_EQ(pool.Get(u"once.png", 1)->Pixel(0, 0), kRed);
    shared_ptr<Surface> fresh = pool.Get(u"once.png", 0);
    EXPECT_NE(fresh, a);
    EXPECT_EQ(fresh->Pixel(0, 0), 0x001F);
    EXPECT_EQ(pool.Get(u"once.png", 1), a);  // mode 0 did not replace the cached one
    EXPECT_EQ(pool.Get(u"once.png", 2), a);  // other modes take the cached one
}

TEST_F(ImagePoolTest, OtherModesDoNotStoreAndMissingFilesAreCachedEmpty) {
    ImagePool& pool = ImagePool::Instance();
    Write("loose.png", 0xFF00FF00);
    shared_ptr<Surface> a = pool.Get(u"loose.png", 2), b = pool.Get(u"loose.png", 2);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a->HasPixels());
    shared_ptr<Surface> c = pool.Get(u"loose.png", 1);
    EXPECT_NE(c, a);
    EXPECT_EQ(pool.Get(u"loose.png", 2), c);

    shared_ptr<Surface> missing = pool.Get(u"later.png", 1);
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->HasPixels());
    Write("later.png", 0xFF00FF00);
    EXPECT_EQ(pool.Get(u"later.png", 1), missing);
    EXPECT_TRUE(pool.Get(u"later.png", 0)->HasPixels());
}

}  // namespace
}  // namespace zentri
