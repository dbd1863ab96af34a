#pragma once
#include <QScrollBar>

#include "platform/controls/scroll_bar.h"
#include "view_context.h"

namespace platform_qt {

// The vertical scroll bar. Dragging the thumb reports Scroll as it goes and
// Change when it is let go; arrows, page clicks and keys report Change.
class ScrollBarView : public QScrollBar {
    Q_OBJECT
public:
    ScrollBarView(platform::ScrollBar& bar, const ViewContext& ctx, QWidget* parent);
    platform::ScrollBar& control() { return bar_; }
    void refresh();

    // The wheel turned over `area` (the view this bar scrolls) moves the bar
    // as the wheel over the bar itself does.
    void scrollsFor(QWidget* area);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void userValue(int v);
    void wheel(QWheelEvent* e);

    platform::ScrollBar& bar_;
    ViewContext ctx_;
    ViewHook hook_;
    bool syncing_ = false;
    int wheelEighths_ = 0;  // a fine-grained wheel's turn that has not yet made a notch
};

}  // namespace platform_qt
