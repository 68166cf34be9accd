#pragma once
// The program's own bicubic resampling of RGB565 pixels with an optional alpha plane.

#include <cstdint>
#include <vector>

#include "ui/platform/image_decoder.h"

namespace zentri {

// Resamples a w x h picture (alpha may be empty) to dw x dh with a Catmull-Rom cubic, widened
// when shrinking so that every source pixel contributes (no aliasing in thumbnails). Colours
// are filtered premultiplied by alpha, so transparent pixels lend no colour to their
// neighbours; a flat area keeps its exact colour. False (and `out` empty) when a size is not
// positive, the result is over the image limits, or the work would need too much memory.
bool ScaleBicubic(const std::vector<uint16_t>& pixels, const std::vector<uint8_t>& alpha, int w,
                  int h, int dw, int dh, DecodedImage& out);

}  // namespace zentri
