#include "progress_bar_view.h"

#include <algorithm>
#include <cmath>

namespace platform_qt {

ProgressBarView::ProgressBarView(platform::ProgressBar& bar, const ViewContext& ctx, QWidget* parent)
    : QProgressBar(parent), bar_(bar), ctx_(ctx) {
    setObjectName(QString::fromStdString(bar.Name()));
    setRange(0, kSteps);
    setTextVisible(false);
    pace_.setSingleShot(true);
    pace_.setInterval(16);
    connect(&pace_, &QTimer::timeout, this, [this] { showStep(); });
    hook_.install(bar_, [this] { refresh(); });
    refresh();
    showStep();
}

int ProgressBarView::StepOf(double min, double max, double value) {
    if (!(max > min)) return 0;
    const double share = std::clamp((value - min) / (max - min), 0.0, 1.0);
    return static_cast<int>(std::lround(share * kSteps));
}

void ProgressBarView::refresh() {
    step_ = StepOf(bar_.Min(), bar_.Max(), bar_.Value());
    const QRect r = PixelRect(bar_, ctx_.scale);
    if (geometry() != r) setGeometry(r);
    // Hidden at once, but shown at the next frame: a show-all starts and ends
    // a run of the bar for every file, and showing and hiding a widget costs
    // far more than reading a file of a few icons. A bar hidden again before
    // that frame was never to be seen. A hidden bar takes no position either:
    // QProgressBar works out its style and text on every new value, shown or
    // not, and a load moves the bar after every icon. The position is put in
    // at the frame that shows the bar.
    if (!bar_.Visible()) {
        if (!isHidden()) hide();
    } else if (!pace_.isActive()) {
        pace_.start();
    }
}

void ProgressBarView::showStep() {
    // A bar hidden since the frame was asked for stays hidden; the timer is
    // left to run out rather than stopped, which would cost a run per file.
    if (!bar_.Visible()) return;
    if (value() != step_) setValue(step_);
    if (isHidden()) show();
}

}  // namespace platform_qt
