#pragma once
#include "control.h"

namespace platform {

// A progress bar with a floating-point range. A position outside the range is
// refused; a range that moves below the position pulls the position with it.
class ProgressBar : public Control {
public:
    using Control::Control;
    float Min() const { return min_; }
    float Max() const { return max_; }
    float Value() const { return value_; }
    void setMin(double v) {
        min_ = static_cast<float>(v);
        if (value_ < min_) value_ = min_;
        changed();
    }
    void setMax(double v) {
        max_ = static_cast<float>(v);
        if (value_ > max_) value_ = max_;
        changed();
    }
    void setValue(double v) {
        const float f = static_cast<float>(v);
        if (f < min_ || f > max_) throw Failure("invalid property value");
        value_ = f;
        changed();
    }

private:
    float min_ = 0, max_ = 100, value_ = 0;
};

}  // namespace platform
