#include "widgets/remote_image.h"

#include "net/inet_manager.h"
#include "platform/file_icon.h"
#include "platform/text.h"
#include "ui/layout.h"
#include "ui/platform/wm_surface.h"

namespace zentri {

shared_ptr<Surface> LoadFileIcon(const std::u16string& deviceFile) {
    std::string icon = platform::ExecutableIcon(platform::Utf16ToUtf8(deviceFile));
    if (icon.empty()) return nullptr;
    shared_ptr<WMSurface> image(new WMSurface);
    if (!image->LoadFile(platform::Utf8ToUtf16(icon))) return nullptr;
    return image;
}

shared_ptr<Surface> DecodeBody(const HttpRequest& request) {
    if (!request.Body() || request.Size() <= 0) return nullptr;
    shared_ptr<WMSurface> image(new WMSurface);
    if (!image->LoadBuffer(request.Body(), static_cast<size_t>(request.Size()))) return nullptr;
    return image;
}

shared_ptr<HttpRequest> StartImageRequest(const std::u16string& url, bool indicator) {
    return InetManager::Instance().Request(url, indicator);
}

// The parent's height is set small with its layout held, then the layout arranges it again
// (its own size included) for the content's new size. A parent without a layout keeps its size.
void RearrangeParent(GObject& node) {
    GObject* parent = node.Parent();
    if (!parent) return;
    shared_ptr<Layout> layout = parent->GetLayout();
    if (!layout) return;  // nothing would give the parent its height back
    layout->Suspend();
    parent->SetSize(parent->Width(), 10);
    layout->Resume();
    layout->Update(Layout::kContentChanged);
}

}  // namespace zentri
