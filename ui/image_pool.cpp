#include "ui/image_pool.h"

#include "ui/platform/wm_surface.h"

namespace zentri {

shared_ptr<Surface> ImagePool::Get(const std::u16string& name, int mode) {
    if (mode != 0) {
        auto it = images_.find(name);
        if (it != images_.end()) return it->second;
    }
    shared_ptr<Surface> image = MakeShared<WMSurface>();
    image->LoadFile(folder_ + name);
    if (mode == 1) images_[name] = image;
    return image;
}

}  // namespace zentri
