#include "frame_view.h"

#include <QMouseEvent>

namespace platform_qt {

FrameView::FrameView(platform::Frame& frame, const ViewContext& ctx, QWidget* parent)
    : QWidget(parent), frame_(frame), ctx_(ctx) {
    setObjectName(QString::fromStdString(frame.Name()));
    setAutoFillBackground(true);
    hook_.install(frame_, [this] { refresh(); });
    refresh();
}

void FrameView::refresh() {
    SetColors(*this, frame_);
    Place(*this, frame_, ctx_.scale);
}

void FrameView::mouseReleaseEvent(QMouseEvent* e) {
    const int button = ButtonMask(e->button()), shift = ShiftMask(e->modifiers());
    const QPointF p = e->position();
    (*ctx_.dispatch)([&] {
        frame_.MouseUp.raise(button, shift, ToTwipsX(p.x(), ctx_.scale), ToTwipsY(p.y(), ctx_.scale));
    });
}

}  // namespace platform_qt
