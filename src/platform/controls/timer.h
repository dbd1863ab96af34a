#pragma once
#include "../event.h"
#include "control.h"

namespace platform {

// Ticks arrive only when the thread processes events; the view owns the clock.
class Timer : public Control {
public:
    using Control::Control;
    int Interval() const { return interval_; }
    void setInterval(int ms) { interval_ = ms; changed(); }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e; changed(); }
    Event<> Tick;

private:
    int interval_ = 0;
    bool enabled_ = true;
};

}  // namespace platform
