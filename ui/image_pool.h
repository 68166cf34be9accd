#pragma once
// Images of the program folder, decoded on demand and (in mode 1) kept by file name until exit.

#include <map>
#include <string>

#include "ui/shared_object.h"
#include "ui/singleton.h"
#include "ui/surface.h"

namespace zentri {

class ImagePool : public Singleton<ImagePool> {
  public:
    // The device folder that names are relative to (the application sets the program folder,
    // with its trailing backslash).
    void SetFolder(const std::u16string& folder) { folder_ = folder; }
    const std::u16string& Folder() const { return folder_; }

    // The image folder + name. Mode 0: always a newly decoded surface, not cached. Mode 1: the
    // cached surface of that name, else a new one, which is cached. Any other mode: the cached
    // surface when there is one, else a new one that is not cached. A failed load still yields
    // a surface (without pixels, drawing nothing), cached like any other in mode 1.
    shared_ptr<Surface> Get(const std::u16string& name, int mode);

  private:
    friend class Singleton<ImagePool>;
    ImagePool() = default;

    std::u16string folder_;
    std::map<std::u16string, shared_ptr<Surface>> images_;
};

}  // namespace zentri
