#pragma once
// The platform surface: a Surface that decodes PNG and JPEG images (libpng, libjpeg-turbo),
// makes bicubic scaled copies of itself, and receives text through a TextContext.

#include <map>
#include <utility>

#include "ui/platform/image_decoder.h"
#include "ui/platform/text_context.h"
#include "ui/surface.h"

namespace zentri {

class WMSurface : public Surface {
  public:
    // w x h white pixels (and an opaque alpha plane when asked); clip and origin reset.
    bool Create(int w, int h, bool withAlpha) override;
    // Decode a PNG or JPEG file (a device path) or buffer (which stays the caller's). Sources
    // with alpha get an alpha plane. Any failure (missing file, another format, corrupt or
    // truncated data, over 4096 pixels a side or 16 megapixels) leaves the surface without
    // pixels, which draws nothing, and returns false.
    bool LoadFile(const std::u16string& path) override;
    bool LoadBuffer(const uint8_t* data, size_t size) override;
    // LoadFile, then resized to w x h with the bicubic scaler.
    bool LoadFileScaled(const std::u16string& path, int w, int h) override;
    // A copy resized to w x h (each at least 2), made once per size and then taken from the
    // cache. The same size, or a surface without pixels, answers the surface itself (when it is
    // not held by any counted pointer, a copy is made instead, so that the caller's pointer
    // never deletes it).
    shared_ptr<Surface> Scaled(int w, int h) override;

    // The text context for drawing on this surface with its current clip and origin.
    TextContext BeginText() { return TextContext(*this); }

  private:
    void Take(DecodedImage&& image);
    shared_ptr<Surface> Self();

    std::map<std::pair<int, int>, shared_ptr<Surface>> scaledCache_;
};

}  // namespace zentri
