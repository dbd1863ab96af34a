#pragma once
#include <QLabel>
#include <QTimer>

#include "platform/controls/label.h"
#include "view_context.h"

namespace platform_qt {

// A label. Its width, auto-sized or not, is the model's: the model measured
// the caption with the same font through the services. Lines are set one em
// and a pixel apart, as a Song face is set: the window's labels were sized for
// that, and a CJK face with generous line spacing would lose its second line.
class LabelView : public QLabel {
    Q_OBJECT
public:
    LabelView(platform::Label& label, const ViewContext& ctx, QWidget* parent);
    platform::Label& control() { return label_; }
    // Takes in the caption, geometry and colours the label has now.
    void refresh();

    // The distance from one line's top to the next, in pixels.
    int LinePitch() const;
    // The lines the caption breaks into at the label's width.
    QStringList Lines() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void changed();

    platform::Label& label_;
    // Gathers the changes a visible label sees within one pass of the event loop.
    QTimer frame_;
    ViewContext ctx_;
    ViewHook hook_;
};

}  // namespace platform_qt
