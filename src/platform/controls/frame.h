#pragma once
#include "../event.h"
#include "control.h"

namespace platform {

// A container that clips its children to its area.
class Frame : public Control {
public:
    using Control::Control;
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); changed(); }

    // Button, Shift, X, Y
    Event<int, int, float, float> MouseUp;

private:
    std::string caption_;
};

}  // namespace platform
