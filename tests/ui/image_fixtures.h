#pragma once
// Test images made in code: PNG files of every colour type, bit depth and interlacing, and
// JPEG files, written with libpng and libjpeg into memory.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zentri::test {

struct PngSpec {
    int width = 0;
    int height = 0;
    int colorType = 2;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    int bitDepth = 8;
    bool interlaced = false;
    // Samples row by row, `channels` per pixel for the colour type (palette: indexes), each
    // sample 0 .. 2^bitDepth - 1.
    std::vector<uint16_t> samples;
    std::vector<uint8_t> palette;       // RGB triples
    std::vector<uint8_t> paletteAlpha;  // tRNS for palettes
};

std::vector<uint8_t> MakePng(const PngSpec& spec);

// An RGBA image from a function of (x, y) returning 0xAARRGGBB.
template <class F>
PngSpec RgbaSpec(int w, int h, F pixel) {
    PngSpec s{w, h, 6, 8, false, {}, {}, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = pixel(x, y);
            s.samples.insert(
                s.samples.end(),
                {static_cast<uint16_t>((p >> 16) & 0xFF), static_cast<uint16_t>((p >> 8) & 0xFF),
                 static_cast<uint16_t>(p & 0xFF), static_cast<uint16_t>(p >> 24)});
        }
    return s;
}

// A baseline (or progressive) JPEG of RGB pixels (3 bytes each) at the given quality.
std::vector<uint8_t> MakeJpeg(int w, int h, const std::vector<uint8_t>& rgb, int quality = 95,
                              bool progressive = false);

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

}  // namespace zentri::test
