#pragma once
// TImage: shows one of several images, chosen by a state number, aligned in the node's box (its
// rectangle minus paddings) or stretched to it. With a progress maximum set, only the done
// fraction of the image is drawn from its left edge (a progress bar).

#include <algorithm>
#include <map>
#include <string>

#include "ui/image_pool.h"
#include "ui/rect.h"
#include "ui/surface.h"
#include "widgets/padding.h"

namespace zentri {

enum class HAlign { Left = 0, Center = 1, Right = 2 };
enum class VAlign { Top = 0, Center = 1, Bottom = 2 };

template <class B>
class TImage : public B {
  public:
    // Stores the image under the state; a null image is ignored.
    void AddImage(int state, const shared_ptr<Surface>& image) {
        if (image) images[state] = image;
    }
    // An image of the program folder by file name, from the image pool (a missing file gives an
    // image that draws nothing).
    void AddImage(int state, const std::u16string& name) {
        AddImage(state, ImagePool::Instance().Get(name, 1));
    }
    // Drops every stored image; what is shown stays until the next ShowImage.
    void ClearImages() { images.clear(); }
    bool HasImage(int state) const { return images.count(state) != 0; }

    // Shows the image stored under `state`; nothing happens when there is none. Without
    // stretching, resizeToImage gives the node the image's size.
    void ShowImage(int state, bool resizeToImage = false) {
        auto it = images.find(state);
        if (it == images.end()) return;
        source = it->second;
        currentState = state;
        if (stretch) {
            needsRescale = true;
        } else {
            drawn = source;
            if (resizeToImage && source->HasPixels()) this->SetSize(source->width, source->height);
        }
        this->Invalidate();
    }
    int CurrentState() const { return currentState; }
    // The image of the current state (null before the first ShowImage).
    const shared_ptr<Surface>& Image() const { return source; }

    void SetImageAlign(HAlign h, VAlign v) {
        if (h == hAlign && v == vAlign) return;
        hAlign = h;
        vAlign = v;
        this->Invalidate();
    }
    // Stretching scales the image to the box (the scaled copy is made when next drawn).
    void SetStretch(bool value) {
        if (value == stretch) return;
        stretch = value;
        drawn = stretch ? nullptr : source;
        needsRescale = stretch && source;
        this->Invalidate();
    }
    void SetImagePadding(int left, int top, int right, int bottom) {
        imagePadding = Padding{left, top, right, bottom};
        UpdateBox();
        this->Invalidate();
    }
    // Draws only progress / progressMax of the image's width; a maximum of 0 draws all of it.
    void SetProgress(double value, double maximum = 1.0) {
        if (value == progress && maximum == progressMax) return;
        progress = value;
        progressMax = maximum;
        this->Invalidate();
    }
    double Progress() const { return progress; }
    // The image box in the node's own coordinates.
    const Rect& ImageBox() const { return box; }

    void Resized(int dw, int dh) override {
        B::Resized(dw, dh);
        UpdateBox();
    }

    void Draw(Surface& surface) override {
        B::Draw(surface);
        if (needsRescale && source) {
            drawn = source->Scaled(std::max(box.w, 1), std::max(box.h, 1));
            needsRescale = false;
        }
        if (!drawn || !drawn->HasPixels()) return;
        const Surface& image = *drawn;
        int w = DrawnWidth(image.width);
        if (w <= 0) return;
        surface.BlitAlpha(AlignedX(image.width), AlignedY(image.height), w, image.height, image,
                          this->Transparency());
    }

  protected:
    void UpdateBox() {
        box = imagePadding.Inside(this->Width(), this->Height());
        if (stretch && source) needsRescale = true;
    }
    int AlignedX(int imageWidth) const {
        if (hAlign == HAlign::Center) return box.x + (box.w - imageWidth) / 2;
        if (hAlign == HAlign::Right) return box.x + box.w - imageWidth;
        return box.x;
    }
    int AlignedY(int imageHeight) const {
        if (vAlign == VAlign::Center) return box.y + (box.h - imageHeight) / 2;
        if (vAlign == VAlign::Bottom) return box.y + box.h - imageHeight;
        return box.y;
    }
    int DrawnWidth(int imageWidth) const {
        if (progressMax == 0) return imageWidth;
        double fraction = progress / progressMax;
        if (!(fraction > 0)) return 0;  // also a fraction that is not a number
        return static_cast<int>(std::min(fraction, 1.0) * imageWidth);
    }

    bool needsRescale = false;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool stretch = false;
    Padding imagePadding;
    Rect box;
    std::map<int, shared_ptr<Surface>> images;
    shared_ptr<Surface> source;
    shared_ptr<Surface> drawn;
    int currentState = 0;
    double progress = 0;
    double progressMax = 0;
};

}  // namespace zentri
