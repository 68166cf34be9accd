#pragma once
// TRemoteImage: a picture fetched over HTTP when the node is first drawn, so images that are
// never scrolled into sight are never fetched. Until it arrives the node draws as a plain
// TImage (its placeholder, if any); a failed transfer or an answer that is not a picture leaves
// the placeholder. With a local file set (an installed application's executable) the node shows
// that file's icon instead, and fetches only when there is no icon.

#include <mutex>
#include <string>

#include "net/http_request.h"
#include "ui/app_lock.h"
#include "ui/gobject.h"
#include "ui/surface.h"

namespace zentri {

// The shell's icon of a device file as an image; null when there is none.
shared_ptr<Surface> LoadFileIcon(const std::u16string& deviceFile);
// The picture in a finished memory transfer's body; null when it is not one.
shared_ptr<Surface> DecodeBody(const HttpRequest& request);
// Starts the transfer of `url` for `indicator` (the loading indicator while it runs).
shared_ptr<HttpRequest> StartImageRequest(const std::u16string& url, bool indicator);
// Lets the parent's layout arrange again around content that changed size.
void RearrangeParent(GObject& node);

template <class B>
class TRemoteImage : public B {
  public:
    ~TRemoteImage() override { DropRequest(); }

    // A new address: a transfer under way for the old one is dropped; the new one is fetched
    // when the node is next drawn.
    void SetUrl(std::u16string value) {
        if (value == url) return;
        DropRequest();
        url = std::move(value);
        fetchStarted = false;
        loaded = false;
        this->Invalidate();
    }
    const std::u16string& Url() const { return url; }
    // A device file whose icon the node shows (the executable of an installed application).
    void SetLocalFile(std::u16string devicePath) {
        localFile = std::move(devicePath);
        iconTried = false;
        this->Invalidate();
    }
    // When the picture arrives, the parent's layout arranges again for its size.
    void SetResizeParent(bool value) { resizeParent = value; }
    // Passed to the transfer: the loading indicator stays while it runs.
    void SetRequestFlag(bool value) { requestFlag = value; }
    // A downloaded picture or the file icon is shown.
    bool Loaded() const { return loaded; }
    // The running transfer (null before the first draw and after it ended).
    const shared_ptr<HttpRequest>& Request() const { return request; }

    void Draw(Surface& surface) override {
        if (!loaded && !localFile.empty() && !iconTried) ShowFileIcon();
        if (!loaded && !url.empty() && !fetchStarted) Fetch();
        B::Draw(surface);
    }

  protected:
    void ShowFileIcon() {
        iconTried = true;
        shared_ptr<Surface> icon = LoadFileIcon(localFile);
        if (!icon) return;
        this->ClearImages();
        this->AddImage(0, icon);
        loaded = true;
        this->ShowImage(0, false);
    }
    // Subscribes while holding appLock, so the completion cannot run before it is listened to.
    void Fetch() {
        std::lock_guard<AppLockType> lock(AppLock());
        fetchStarted = true;
        request = StartImageRequest(url, requestFlag);
        if (request) request->Completion().Add(this, &TRemoteImage::Fetched);
    }
    // On the transfer thread, under appLock.
    void Fetched(HttpRequest* done, bool success) {
        if (done != request.get()) return;
        GObjectPtr keep = CountedRef<GObject>(this);
        shared_ptr<HttpRequest> ended = request;
        request = nullptr;
        shared_ptr<Surface> picture = success ? DecodeBody(*done) : nullptr;
        if (!picture) return;
        this->ClearImages();
        this->AddImage(0, picture);
        loaded = true;
        this->ShowImage(0, false);  // first, so the parent's layout sees the picture
        if (resizeParent) RearrangeParent(*this);
    }
    void DropRequest() {
        if (!request) return;
        std::lock_guard<AppLockType> lock(AppLock());
        request->Completion().RemoveObject(this);
        request->Cancel();
        request = nullptr;
    }

    std::u16string url;
    std::u16string localFile;
    shared_ptr<HttpRequest> request;
    bool loaded = false;
    bool resizeParent = false;
    bool requestFlag = false;
    bool fetchStarted = false;
    bool iconTried = false;
};

}  // namespace zentri
