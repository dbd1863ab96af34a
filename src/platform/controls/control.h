#pragma once
// The state every control shares: geometry in twips as the logic set it,
// visibility, and a hook through which a view learns that it must redraw.

#include <functional>
#include <string>

#include "pixels/bitmap.h"
#include "../units.h"

namespace platform {

class Control {
public:
    Control(std::string name, Control* container) : name_(std::move(name)), container_(container) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    Control* Container() const { return container_; }
    // Position in a control array, -1 for a control that is not an element.
    int Index() const { return index_; }
    void setIndex(int i) { index_ = i; }

    Twips Left() const { return left_; }
    Twips Top() const { return top_; }
    Twips Width() const { return width_; }
    Twips Height() const { return height_; }
    void setLeft(double v) { left_ = static_cast<Twips>(v); changed(); }
    void setTop(double v) { top_ = static_cast<Twips>(v); changed(); }
    void setWidth(double v) { width_ = checkedSize(v); changed(); }
    void setHeight(double v) { height_ = checkedSize(v); changed(); }
    void Move(double left, double top) {
        left_ = static_cast<Twips>(left);
        top_ = static_cast<Twips>(top);
        changed();
    }
    void Move(double left, double top, double width, double height) {
        const Twips w = checkedSize(width), h = checkedSize(height);
        left_ = static_cast<Twips>(left);
        top_ = static_cast<Twips>(top);
        width_ = w;
        height_ = h;
        changed();
    }

    // The client area: the outer size less the border on each side.
    Twips Border() const { return border_; }
    void setBorder(Twips b) { border_ = b; changed(); }
    Twips ScaleWidth() const { return width_ > 2 * border_ ? width_ - 2 * border_ : 0.0f; }
    Twips ScaleHeight() const { return height_ > 2 * border_ ? height_ - 2 * border_ : 0.0f; }

    bool Visible() const { return visible_; }
    void setVisible(bool v) {
        if (visible_ == v) return;
        visible_ = v;
        changed();
    }

    int TabIndex() const { return tabIndex_; }
    void setTabIndex(int t) { tabIndex_ = t; }

    pixels::Argb BackColor() const { return backColor_; }
    void setBackColor(pixels::Argb c) { backColor_ = c; changed(); }
    pixels::Argb ForeColor() const { return foreColor_; }
    void setForeColor(pixels::Argb c) { foreColor_ = c; changed(); }

    // Asks the view to give this control the keyboard focus.
    void SetFocus() {
        if (viewFocus) viewFocus(*this);
    }

    // Set by the view that draws this control; called after every change.
    std::function<void(Control&)> viewChanged;
    // Set by the view; moves the keyboard focus to this control.
    std::function<void(Control&)> viewFocus;

protected:
    void changed() {
        if (viewChanged) viewChanged(*this);
    }
    // Sizes are never negative; a toolkit refuses them.
    static Twips checkedSize(double v) {
        if (!(v >= 0.0) || v > 3.0e7) throw Failure("invalid property value");
        return static_cast<Twips>(v);
    }

private:
    std::string name_;
    Control* container_;
    int index_ = -1;
    Twips left_ = 0, top_ = 0, width_ = 0, height_ = 0, border_ = 0;
    bool visible_ = true;
    int tabIndex_ = -1;
    pixels::Argb backColor_ = pixels::MakeArgb(255, 255, 255);
    pixels::Argb foreColor_ = pixels::MakeArgb(0, 0, 0);
};

// Mouse buttons and modifier masks as the handlers receive them.
namespace mouse {
constexpr int kLeft = 1, kRight = 2, kMiddle = 4;
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;
}  // namespace mouse

// Key codes as a key-down handler receives them.
namespace key {
constexpr int kReturn = 13, kEscape = 27, kSpace = 32;
constexpr int kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kF5 = 116;
// Plus and minus: the keypad's, and the main keyboard's (its plus is the = key).
constexpr int kAdd = 107, kSubtract = 109, kOemPlus = 187, kOemMinus = 189;
}  // namespace key

}  // namespace platform
