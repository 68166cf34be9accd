#pragma once
// Decoding PNG and JPEG data into RGB565 pixels with a separate alpha plane. PNG of any colour
// type and bit depth; sources with alpha (an alpha channel, or a tRNS chunk: palette, grey or
// RGB with a transparent colour) keep it; JPEG is opaque. Anything else, corrupt or truncated
// data, and images over the limits fail without allocating for their claimed size.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentri {

// Larger images fail: more than any screen of the handset shows, and bounded memory.
inline constexpr int kMaxImageSide = 4096;
inline constexpr int64_t kMaxImagePixels = int64_t{16} << 20;

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;  // RGB565, rows top to bottom
    std::vector<uint8_t> alpha;    // empty for opaque sources
};

// PNG or JPEG, told apart by their signatures. False (and `out` empty) on any failure.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out);

// Whether an image of w x h is within the limits.
bool ImageSizeAllowed(int64_t w, int64_t h);

}  // namespace zentri
