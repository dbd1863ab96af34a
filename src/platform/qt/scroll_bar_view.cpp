#include "scroll_bar_view.h"

#include <algorithm>

namespace platform_qt {

ScrollBarView::ScrollBarView(platform::ScrollBar& bar, const ViewContext& ctx, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), bar_(bar), ctx_(ctx) {
    setObjectName(QString::fromStdString(bar.Name()));
    // A click on the bar gives it the focus, so its got-focus event is raised.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this, [this](int v) { userValue(v); });
    connect(this, &QScrollBar::sliderReleased, this, [this] {
        if (syncing_) return;
        const int v = value();
        (*ctx_.dispatch)([&] { bar_.UserEndScroll(v); });
        refresh();
    });
    hook_.install(bar_, [this] { refresh(); });
    refresh();
}

void ScrollBarView::userValue(int v) {
    if (syncing_) return;
    if (isSliderDown())
        (*ctx_.dispatch)([&] { bar_.UserScroll(v); });
    else
        (*ctx_.dispatch)([&] { bar_.UserChange(v); });
    // A handler may have put the value elsewhere; show what the model holds.
    refresh();
}

void ScrollBarView::refresh() {
    syncing_ = true;
    const int lo = bar_.Min(), hi = bar_.Max();
    // A range that runs backwards (Min above Max) moves the thumb the other way.
    const bool inverted = lo > hi;
    setInvertedAppearance(inverted);
    setInvertedControls(inverted);
    setRange(std::min(lo, hi), std::max(lo, hi));
    setSingleStep(bar_.SmallChange());
    setPageStep(bar_.LargeChange());
    if (value() != bar_.Value() && !isSliderDown()) setValue(bar_.Value());
    syncing_ = false;
    Place(*this, bar_, ctx_.scale);
}

void ScrollBarView::focusInEvent(QFocusEvent* e) {
    QScrollBar::focusInEvent(e);
    (*ctx_.dispatch)([&] { bar_.GotFocus.raise(); });
}

}  // namespace platform_qt
