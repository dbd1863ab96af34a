#pragma once
#include "control.h"

namespace platform {

// A line between two end points in its container's coordinates.
class Line : public Control {
public:
    using Control::Control;
    Twips X1() const { return x1_; }
    Twips Y1() const { return y1_; }
    Twips X2() const { return x2_; }
    Twips Y2() const { return y2_; }
    void setX1(double v) { x1_ = static_cast<Twips>(v); changed(); }
    void setY1(double v) { y1_ = static_cast<Twips>(v); changed(); }
    void setX2(double v) { x2_ = static_cast<Twips>(v); changed(); }
    void setY2(double v) { y2_ = static_cast<Twips>(v); changed(); }
    pixels::Argb BorderColor() const { return color_; }
    void setBorderColor(pixels::Argb c) { color_ = c; changed(); }

private:
    Twips x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    pixels::Argb color_ = pixels::MakeArgb(0, 0, 0);
};

}  // namespace platform
