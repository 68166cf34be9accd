#pragma once
// The platform surface: a Surface whose pixels can also receive text, and which decodes and
// scales images.

#include <map>
#include <utility>

#include "ui/surface.h"

namespace zentri {

class WMSurface : public Surface {
  public:
    bool Create(int w, int h, bool withAlpha) override;
    bool LoadFile(const std::u16string& path) override;
    bool LoadBuffer(const uint8_t* data, size_t size) override;
    bool LoadFileScaled(const std::u16string& path, int w, int h) override;
    shared_ptr<Surface> Scaled(int w, int h) override;

  private:
    std::map<std::pair<int, int>, shared_ptr<Surface>> scaledCache_;
};

}  // namespace zentri
