#pragma once
#include <functional>

#include "control.h"

namespace platform {

// A label; with AutoSize its width follows its caption, measured by the
// platform's text metrics.
class Label : public Control {
public:
    using Measure = std::function<Twips(const std::string&)>;
    Label(std::string name, Control* container, Measure measure)
        : Control(std::move(name), container), measure_(std::move(measure)) {}

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) {
        caption_ = std::move(c);
        if (autoSize_ && measure_) setWidth(measure_(caption_));
        else changed();
    }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool a) {
        autoSize_ = a;
        if (autoSize_ && measure_) setWidth(measure_(caption_));
    }

private:
    Measure measure_;
    std::string caption_;
    bool autoSize_ = false;
};

}  // namespace platform
