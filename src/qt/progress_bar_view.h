#pragma once
#include <QProgressBar>
#include <QTimer>

#include "platform/controls/progress_bar.h"
#include "view_context.h"

namespace platform_qt {

// The progress bar. Its range is floating point; Qt's is integer, so the
// position is shown as a share of a fixed number of steps.
class ProgressBarView : public QProgressBar {
    Q_OBJECT
public:
    static constexpr int kSteps = 10000;

    ProgressBarView(platform::ProgressBar& bar, const ViewContext& ctx, QWidget* parent);
    platform::ProgressBar& control() { return bar_; }
    void refresh();

    // The step shown for a value in [min, max]; 0 for an empty range.
    static int StepOf(double min, double max, double value);

private:
    void showStep();

    platform::ProgressBar& bar_;
    // A shown bar takes new positions at the screen's pace: QProgressBar
    // repaints at once on every visible step, and a load steps after every icon.
    QTimer pace_;
    int step_ = 0;
    ViewContext ctx_;
    ViewHook hook_;
};

}  // namespace platform_qt
