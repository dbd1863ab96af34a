#pragma once
#include <algorithm>
#include <cstdint>

#include "../event.h"
#include "control.h"

namespace platform {

// A vertical scroll bar whose values are 16-bit. Assigning a different Value
// raises Change before the setter returns.
class ScrollBar : public Control {
public:
    using Control::Control;

    std::int16_t Min() const { return min_; }
    std::int16_t Max() const { return max_; }
    std::int16_t Value() const { return value_; }
    std::int16_t SmallChange() const { return small_; }
    std::int16_t LargeChange() const { return large_; }

    void setMin(double v) {
        min_ = ToInt16(v);
        clampValue();
    }
    void setMax(double v) {
        max_ = ToInt16(v);
        clampValue();
    }
    void setValue(double v) {
        const std::int16_t nv = ToInt16(v);
        if (nv < lowest() || nv > highest()) throw Failure("invalid property value");
        assignValue(nv);
    }
    void setSmallChange(double v) {
        small_ = positive(ToInt16(v));
        changed();
    }
    void setLargeChange(double v) {
        large_ = positive(ToInt16(v));
        changed();
    }

    // From the view: the user moved the thumb (Scroll while dragging, Change at the end).
    void UserScroll(int v) {
        const std::int16_t nv = std::clamp<std::int16_t>(ToInt16(v), lowest(), highest());
        if (nv == value_) return;
        value_ = nv;
        changed();
        Scroll.raise();
    }
    void UserChange(int v) {
        const std::int16_t nv = std::clamp<std::int16_t>(ToInt16(v), lowest(), highest());
        assignValue(nv);
    }

    // The mouse wheel turned `lines` lines towards the user (negative: away).
    // Each line is one small change towards Max, as a click on the lower
    // arrow is, and the whole turn reports one change.
    void UserWheel(int lines) {
        const int step = max_ >= min_ ? small_ : -small_;
        const long target = static_cast<long>(value_) + static_cast<long>(lines) * step;
        assignValue(static_cast<std::int16_t>(std::clamp<long>(target, lowest(), highest())));
    }

    // Letting go of the thumb: the value is where the drag left it, and the
    // change is reported even though the drag already moved it there.
    void UserEndScroll(int v) {
        const std::int16_t nv = std::clamp<std::int16_t>(ToInt16(v), lowest(), highest());
        if (nv != value_) {
            value_ = nv;
            changed();
        }
        Change.raise();
    }

    Event<> Change;
    Event<> Scroll;
    Event<> GotFocus;

private:
    std::int16_t lowest() const { return std::min(min_, max_); }
    std::int16_t highest() const { return std::max(min_, max_); }
    static std::int16_t positive(std::int16_t v) {
        if (v < 1) throw Failure("invalid property value");
        return v;
    }
    void assignValue(std::int16_t nv) {
        if (nv == value_) return;
        value_ = nv;
        changed();
        Change.raise();
    }
    // A range that no longer holds the value pulls it in, as a change.
    void clampValue() {
        changed();
        assignValue(std::clamp(value_, lowest(), highest()));
    }

    std::int16_t min_ = 0, max_ = 0, value_ = 0, small_ = 1, large_ = 1;
};

}  // namespace platform
