#include "scroll_bar_view.h"

#include <QApplication>
#include <QWheelEvent>
#include <algorithm>

namespace platform_qt {

ScrollBarView::ScrollBarView(platform::ScrollBar& bar, const ViewContext& ctx, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), bar_(bar), ctx_(ctx) {
    setObjectName(QString::fromStdString(bar.Name()));
    // A click on the bar gives it the focus, so its got-focus event is raised.
    setFocusPolicy(Qt::StrongFocus);
    // Qt's own menu here ("Scroll here", "Top", ...) is English and unskinned,
    // and a right click over the scroll bar opens no menu of the window.
    setContextMenuPolicy(Qt::PreventContextMenu);
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

void ScrollBarView::scrollsFor(QWidget* area) { area->installEventFilter(this); }

bool ScrollBarView::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Wheel && isVisible()) {
        wheel(static_cast<QWheelEvent*>(e));
        return true;
    }
    return QScrollBar::eventFilter(watched, e);
}

void ScrollBarView::wheelEvent(QWheelEvent* e) { wheel(e); }

// Qt's own wheel handling moves the value by itself, in the direction and by
// the amount that its settings say; this one asks the model, which moves by
// small changes and reports one change for the turn, as the arrows do.
void ScrollBarView::wheel(QWheelEvent* e) {
    e->accept();
    if (isSliderDown()) return;
    // 120 eighths of a degree make one notch; a fine wheel gets there in parts.
    wheelEighths_ += e->angleDelta().y();
    const int notches = wheelEighths_ / 120;
    if (notches == 0) return;
    wheelEighths_ -= notches * 120;
    // Turning the wheel towards the user (a negative delta) scrolls down.
    const int lines = -notches * QApplication::wheelScrollLines();
    (*ctx_.dispatch)([&] { bar_.UserWheel(lines); });
    refresh();
}

void ScrollBarView::focusInEvent(QFocusEvent* e) {
    QScrollBar::focusInEvent(e);
    (*ctx_.dispatch)([&] { bar_.GotFocus.raise(); });
}

}  // namespace platform_qt
