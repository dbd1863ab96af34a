#include "label_view.h"

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
    hook_.install(label_, [this] { refresh(); });
    refresh();
}

void LabelView::refresh() {
    const QString text = QString::fromUtf8(label_.Caption().c_str());
    if (text != this->text()) setText(text);
    // An auto-sized label is one line however narrow the model's measure.
    setWordWrap(!label_.AutoSize());
    SetColors(*this, label_);
    Place(*this, label_, ctx_.scale);
}

}  // namespace platform_qt
