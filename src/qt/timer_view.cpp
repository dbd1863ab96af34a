#include "timer_view.h"

namespace platform_qt {

TimerView::TimerView(platform::Timer& timer, const ViewContext& ctx, QObject* parent)
    : QObject(parent), timer_(timer), ctx_(ctx) {
    setObjectName(QString::fromStdString(timer.Name()));
    connect(&clock_, &QTimer::timeout, this, [this] { (*ctx_.dispatch)([&] { timer_.Tick.raise(); }); });
    hook_.install(timer_, [this] { refresh(); });
    refresh();
}

void TimerView::refresh() {
    // An interval of 0 stops the timer as surely as disabling it.
    const bool run = timer_.Enabled() && timer_.Interval() > 0;
    if (!run) {
        clock_.stop();
        return;
    }
    if (!clock_.isActive() || clock_.interval() != timer_.Interval()) clock_.start(timer_.Interval());
}

}  // namespace platform_qt
