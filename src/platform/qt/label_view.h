#pragma once
#include <QLabel>

#include "platform/controls/label.h"
#include "view_context.h"

namespace platform_qt {

// A label. Its width, auto-sized or not, is the model's: the model measured
// the caption with the same font through the services.
class LabelView : public QLabel {
    Q_OBJECT
public:
    LabelView(platform::Label& label, const ViewContext& ctx, QWidget* parent);
    platform::Label& control() { return label_; }
    void refresh();

private:
    platform::Label& label_;
    ViewContext ctx_;
    ViewHook hook_;
};

}  // namespace platform_qt
