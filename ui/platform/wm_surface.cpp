#include "ui/platform/wm_surface.h"

namespace zentri {

bool WMSurface::Create(int w, int h, bool withAlpha) {
    scaledCache_.clear();
    Allocate(w, h, withAlpha);
    return HasPixels();
}

// Image decoding and scaling are not part of this build yet: loads fail, leaving a surface
// without pixels (which draws nothing), and scaling answers the surface itself.
bool WMSurface::LoadFile(const std::u16string&) {
    Allocate(0, 0, false);
    return false;
}

bool WMSurface::LoadBuffer(const uint8_t*, size_t) {
    Allocate(0, 0, false);
    return false;
}

bool WMSurface::LoadFileScaled(const std::u16string&, int, int) {
    Allocate(0, 0, false);
    return false;
}

shared_ptr<Surface> WMSurface::Scaled(int, int) {
    return shared_ptr<Surface>(this);
}

}  // namespace zentri
