#pragma once
#include <algorithm>
#include <cstdint>
#include <utility>

#include "../bitmap_pool.h"
#include "../event.h"
#include "control.h"

namespace platform {

// A picture box with a persistent image: what is drawn into it stays until Cls.
// The image has the pixel size of the client area; an image that was never
// drawn since the last Cls is blank and takes no memory, which matters when
// thousands of spare cells exist. With a pool, a cleared or destroyed box
// gives its image's storage to it and the next Draw takes one from it.
class PictureBox : public Control {
public:
    PictureBox(std::string name, Control* container, ScreenScale scale, BitmapPool* pool = nullptr)
        : Control(std::move(name), container), scale_(scale), pool_(pool) {}
    ~PictureBox() override {
        if (pool_) pool_->Give(image_);
    }

    int PixelWidth() const { return static_cast<int>(RoundHalfEven(ScaleWidth() / scale_.twipsPerPixelX())); }
    int PixelHeight() const { return static_cast<int>(RoundHalfEven(ScaleHeight() / scale_.twipsPerPixelY())); }

    void Cls() {
        if (pool_) pool_->Give(image_);
        image_ = pixels::Bitmap();
        ++drawings_;
        changed();
    }
    bool IsBlank() const { return image_.empty(); }

    // The persistent image, the background colour where nothing was drawn.
    pixels::Bitmap Image() const {
        if (!image_.empty() && image_.width == PixelWidth() && image_.height == PixelHeight()) return image_;
        pixels::Bitmap out(PixelWidth(), PixelHeight(), BackColor());
        for (int y = 0; y < std::min(out.height, image_.height); ++y)
            for (int x = 0; x < std::min(out.width, image_.width); ++x) out.at(x, y) = image_.at(x, y);
        return out;
    }

    // Draw into the persistent image; `paint` receives it at the client size.
    template <typename Paint>
    void Draw(Paint&& paint) {
        DrawAt(PixelWidth(), PixelHeight(), std::forward<Paint>(paint));
    }
    // The same into a persistent image of `w` x `h` pixels, whatever the
    // client's size: a box shown larger than its picture keeps the picture as
    // drawn, and a view that shows the box draws it afresh at its own size.
    template <typename Paint>
    void DrawAt(int w, int h, Paint&& paint) {
        if (image_.empty()) {
            image_ = pool_ ? pool_->Take(w, h, BackColor()) : pixels::Bitmap(w, h, BackColor());
        } else if (image_.width != w || image_.height != h) {
            pixels::Bitmap resized(w, h, BackColor());
            for (int y = 0; y < std::min(h, image_.height); ++y)
                for (int x = 0; x < std::min(w, image_.width); ++x) resized.at(x, y) = image_.at(x, y);
            image_ = std::move(resized);
        }
        paint(image_);
        ++drawings_;
        changed();
    }
    // The persistent image as drawn, at the size it was drawn; empty when blank.
    const pixels::Bitmap& Drawn() const { return image_; }
    // Counts the drawings and clearings of the image, not moves or resizes: a
    // view's copy of the picture is good while this stays the same.
    std::uint64_t Drawings() const { return drawings_; }

    const ScreenScale& Scale() const { return scale_; }

    // Shown when the pointer rests on the box; empty shows nothing.
    const std::string& ToolTipText() const { return toolTip_; }
    void setToolTipText(std::string text) { toolTip_ = std::move(text); }

    Event<> Click;
    Event<int, int, float, float> MouseUp;    // Button, Shift, X, Y
    Event<int, int, float, float> MouseMove;  // Button, Shift, X, Y
    Event<int, int> KeyDown;                  // KeyCode, Shift, while the box has the focus
    Event<int, int> MouseWheel;               // notches away from the user (negative: towards), Shift

private:
    ScreenScale scale_;
    BitmapPool* pool_;
    pixels::Bitmap image_;
    std::uint64_t drawings_ = 0;
    std::string toolTip_;
};

}  // namespace platform
