#include "progress_bar_view.h"

#include <algorithm>
#include <cmath>

namespace platform_qt {

ProgressBarView::ProgressBarView(platform::ProgressBar& bar, const ViewContext& ctx, QWidget* parent)
    : QProgressBar(parent), bar_(bar), ctx_(ctx) {
    setObjectName(QString::fromStdString(bar.Name()));
    setRange(0, kSteps);
    setTextVisible(false);
    hook_.install(bar_, [this] { refresh(); });
    refresh();
}

int ProgressBarView::StepOf(double min, double max, double value) {
    if (!(max > min)) return 0;
    const double share = std::clamp((value - min) / (max - min), 0.0, 1.0);
    return static_cast<int>(std::lround(share * kSteps));
}

void ProgressBarView::refresh() {
    const int step = StepOf(bar_.Min(), bar_.Max(), bar_.Value());
    if (value() != step) setValue(step);
    Place(*this, bar_, ctx_.scale);
}

}  // namespace platform_qt
