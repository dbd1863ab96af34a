#pragma once
#include <algorithm>

#include "../event.h"
#include "control.h"

namespace platform {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The top-level window. Left, Top, Width and Height are its outer position and
// size on the screen; ScaleWidth and ScaleHeight its client area. Setting a
// different size raises Resize before the setter returns.
class Window : public Control {
public:
    Window(std::string name, ScreenScale scale) : Control(std::move(name), nullptr), scale_(scale) {}

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); changed(); }

    // The frame the window manager draws around the client area, in twips.
    struct Frame {
        Twips left = 0, top = 0, right = 0, bottom = 0;
    };
    const Frame& NonClient() const { return frame_; }
    void setNonClient(Frame f) { frame_ = f; }

    Twips ScaleWidth() const { return std::max(0.0f, Width() - frame_.left - frame_.right); }
    Twips ScaleHeight() const { return std::max(0.0f, Height() - frame_.top - frame_.bottom); }

    void setWidth(double v) { resizeTo(v, Height()); }
    void setHeight(double v) { resizeTo(Width(), v); }
    void setClientSize(double w, double h) { resizeTo(w + frame_.left + frame_.right, h + frame_.top + frame_.bottom); }

    WindowState State() const { return state_; }
    void setState(WindowState s) {
        if (s == state_) return;
        state_ = s;
        changed();
        Resize.raise();
    }

    // Converts a length between pixels and twips at this window's screen.
    double ScaleX(double v, bool fromPixels) const {
        return fromPixels ? v * scale_.twipsPerPixelX() : v / scale_.twipsPerPixelX();
    }
    double ScaleY(double v, bool fromPixels) const {
        return fromPixels ? v * scale_.twipsPerPixelY() : v / scale_.twipsPerPixelY();
    }
    const ScreenScale& Scale() const { return scale_; }

    // From the view: the window manager moved or resized the window.
    void PlatformMoved(double left, double top) { Control::Move(left, top); }
    void PlatformResized(double outerWidth, double outerHeight) { resizeTo(outerWidth, outerHeight); }

    Event<> Load;
    Event<> Resize;
    Event<> Unload;
    // Keys the window hears wherever the focus is: KeyCode, Shift.
    Event<int, int> KeyDown;
    // A file or folder dropped onto the window from another program: its path.
    Event<const std::string&> OLEDragDrop;

private:
    void resizeTo(double w, double h) {
        const Twips nw = checkedSize(w), nh = checkedSize(h);
        if (nw == Width() && nh == Height()) return;
        Control::Move(Left(), Top(), nw, nh);
        Resize.raise();
    }

    ScreenScale scale_;
    std::string caption_;
    Frame frame_;
    WindowState state_ = WindowState::Normal;
};

}  // namespace platform
