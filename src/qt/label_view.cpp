#include "label_view.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include "cjk_font.h"

namespace platform_qt {

LabelView::LabelView(platform::Label& label, const ViewContext& ctx, QWidget* parent)
    : QLabel(parent), label_(label), ctx_(ctx) {
    setObjectName(QString::fromStdString(label.Name()));
    setFont(UiFont());
    setAutoFillBackground(true);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A caption wider than a fixed-size label goes on to the next line.
    setWordWrap(true);
    setMargin(0);
    frame_.setSingleShot(true);
    frame_.setInterval(0);
    connect(&frame_, &QTimer::timeout, this, [this] { refresh(); });
    hook_.install(label_, [this] { changed(); });
    refresh();
}

void LabelView::changed() {
    // On screen, a new caption is taken in at the next pass of the event loop,
    // the frame it would be painted in anyway: a show-all sets the status text
    // for every file, many files to a frame, and each text taken in at once
    // costs a layout of the label. Off screen nothing waits on a frame.
    if (!isVisible()) {
        frame_.stop();
        refresh();
    } else if (!frame_.isActive()) {
        frame_.start();
    }
}

void LabelView::refresh() {
    const QString text = QString::fromUtf8(label_.Caption().c_str());
    if (text != this->text()) setText(text);
    // An auto-sized label is one line however narrow the model's measure.
    setWordWrap(!label_.AutoSize());
    SetColors(*this, label_);
    Place(*this, label_, ctx_.scale);
}

int LabelView::LinePitch() const { return QFontInfo(font()).pixelSize() + 1; }

namespace {
// Runs `each(line)` for every line of `text` laid out `width` pixels wide
// (one unbroken line when `width` is negative).
template <typename F>
void LayOut(const QString& text, const QFont& font, int width, F&& each) {
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(width < 0 ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width < 0 ? 1e6 : width);
        each(line);
    }
    layout.endLayout();
}
}  // namespace

QStringList LabelView::Lines() const {
    QStringList out;
    const QString t = text();
    LayOut(t, font(), wordWrap() ? width() : -1,
           [&](QTextLine& line) { out << t.mid(line.textStart(), line.textLength()); });
    return out;
}

void LabelView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    // The baseline sits where an ideograph's top meets the line's top.
    const int ascent = -QFontMetrics(font()).tightBoundingRect(QString::fromUtf8("图")).top();
    const int pitch = LinePitch();
    const QString t = text();
    int row = 0;
    LayOut(t, font(), wordWrap() ? width() : -1, [&](QTextLine& line) {
        const int baseline = row * pitch + ascent;
        p.drawText(QPointF(0, baseline), t.mid(line.textStart(), line.textLength()).trimmed());
        ++row;
    });
}

}  // namespace platform_qt
