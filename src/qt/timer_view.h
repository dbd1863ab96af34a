#pragma once
#include <QObject>
#include <QTimer>

#include "platform/controls/timer.h"
#include "view_context.h"

namespace platform_qt {

// The timer's clock. Ticks are Qt timer events, so they arrive only while the
// thread processes events, as the window's logic expects.
class TimerView : public QObject {
    Q_OBJECT
public:
    TimerView(platform::Timer& timer, const ViewContext& ctx, QObject* parent);
    platform::Timer& control() { return timer_; }
    bool Running() const { return clock_.isActive(); }
    void refresh();

private:
    platform::Timer& timer_;
    ViewContext ctx_;
    ViewHook hook_;
    QTimer clock_;
};

}  // namespace platform_qt
