#include "picture_box_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "bitmap_image.h"

namespace platform_qt {

PictureBoxView::PictureBoxView(platform::PictureBox& box, const ViewContext& ctx, QWidget* parent)
    : QWidget(parent), box_(box), ctx_(ctx) {
    setObjectName(QString::fromStdString(box.Name()));
    setFocusPolicy(Qt::ClickFocus);
    hook_.install(box_, [this] { refresh(); });
    // The logic hands the focus on (the scroll bar gives it to the viewport).
    box_.viewFocus = [this](platform::Control&) { setFocus(Qt::OtherFocusReason); };
    refresh();
}

PictureBoxView::~PictureBoxView() { box_.viewFocus = nullptr; }

void PictureBoxView::refresh() {
    SetColors(*this, box_);
    image_ = box_.IsBlank() ? QImage() : ToQImage(box_.Image());
    Place(*this, box_, ctx_.scale);
    update();
}

void PictureBoxView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(box_.BackColor()));
    const QPoint origin = ClientOrigin(box_, ctx_.scale);
    if (!image_.isNull()) {
        p.save();
        p.setClipRect(QRect(origin, rect().size() - QSize(2 * origin.x(), 2 * origin.y())));
        p.drawImage(origin, image_);
        p.restore();
    }
    if (origin.x() > 0 || origin.y() > 0) qDrawWinPanel(&p, rect(), palette(), /*sunken=*/true);
}

void PictureBoxView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressedLeft_ = true;
}

void PictureBoxView::mouseReleaseEvent(QMouseEvent* e) {
    const int button = ButtonMask(e->button()), shift = ShiftMask(e->modifiers());
    const QPoint origin = ClientOrigin(box_, ctx_.scale);
    const QPointF p = e->position() - QPointF(origin);
    const bool click = e->button() == Qt::LeftButton && pressedLeft_ && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) pressedLeft_ = false;
    (*ctx_.dispatch)([&] { box_.MouseUp.raise(button, shift, ToTwipsX(p.x(), ctx_.scale), ToTwipsY(p.y(), ctx_.scale)); });
    if (click) (*ctx_.dispatch)([&] { box_.Click.raise(); });
}

}  // namespace platform_qt

namespace platform_qt {

void PictureBoxView::keyPressEvent(QKeyEvent* e) {
    const int code = KeyCode(e->key());
    // Keys without a code go on to the window.
    if (code == 0) {
        QWidget::keyPressEvent(e);
        return;
    }
    const int shift = ShiftMask(e->modifiers() & ~Qt::KeypadModifier);
    (*ctx_.dispatch)([&] { box_.KeyDown.raise(code, shift); });
}

}  // namespace platform_qt
