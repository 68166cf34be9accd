#include "ui/platform/wm_surface.h"

#include <algorithm>
#include <fstream>

#include "platform/paths.h"
#include "platform/text.h"
#include "ui/platform/image_decoder.h"
#include "ui/platform/image_scaler.h"

namespace zentri {
namespace {

// Files larger than any image within the limits could reasonably be are not read.
constexpr std::streamoff kMaxFileBytes = std::streamoff{128} << 20;

bool ReadFile(const std::u16string& devicePath, std::vector<uint8_t>& bytes) {
    std::ifstream in(platform::HostPath(platform::Utf16ToUtf8(devicePath)),
                     std::ios::binary | std::ios::ate);
    if (!in) return false;
    std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxFileBytes) return false;
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

}  // namespace

bool WMSurface::Create(int w, int h, bool withAlpha) {
    scaledCache_.clear();
    if (w <= 0 || h <= 0 || !ImageSizeAllowed(w, h)) {
        Allocate(0, 0, false);
        return false;
    }
    Allocate(w, h, withAlpha);
    return true;
}

void WMSurface::Take(DecodedImage&& image) {
    scaledCache_.clear();
    Allocate(0, 0, false);
    width = image.width;
    height = image.height;
    pixels = std::move(image.pixels);
    alpha = std::move(image.alpha);
}

bool WMSurface::LoadBuffer(const uint8_t* data, size_t size) {
    DecodedImage image;
    bool ok = DecodeImage(data, size, image);
    Take(std::move(image));
    return ok;
}

bool WMSurface::LoadFile(const std::u16string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
        Take(DecodedImage{});
        return false;
    }
    return LoadBuffer(bytes.data(), bytes.size());
}

bool WMSurface::LoadFileScaled(const std::u16string& path, int w, int h) {
    if (!LoadFile(path)) return false;
    if (w == width && h == height) return true;
    DecodedImage scaled;
    bool ok = ScaleBicubic(pixels, alpha, width, height, w, h, scaled);
    Take(std::move(scaled));
    return ok;
}

shared_ptr<Surface> WMSurface::Self() {
    if (RefCount() > 0) return shared_ptr<Surface>(this);
    // Nobody counts this surface (it lives on the stack or inside another object): a counted
    // pointer to it would delete it when released. A copy of it, cached, stands in for it.
    auto key = std::make_pair(width, height);
    auto it = scaledCache_.find(key);
    if (it != scaledCache_.end()) return it->second;
    shared_ptr<WMSurface> copy = MakeShared<WMSurface>();
    copy->width = width;
    copy->height = height;
    copy->pixels = pixels;
    copy->alpha = alpha;
    scaledCache_[key] = copy;
    return copy;
}

shared_ptr<Surface> WMSurface::Scaled(int w, int h) {
    if (w == width && h == height) return Self();
    w = std::max(w, 2);
    h = std::max(h, 2);
    if (w == width && h == height) return Self();
    auto it = scaledCache_.find({w, h});
    if (it != scaledCache_.end()) return it->second;
    if (!HasPixels()) return Self();
    DecodedImage image;
    if (!ScaleBicubic(pixels, alpha, width, height, w, h, image)) return Self();
    shared_ptr<WMSurface> copy = MakeShared<WMSurface>();
    copy->Take(std::move(image));
    scaledCache_[{w, h}] = copy;
    return copy;
}

}  // namespace zentri
