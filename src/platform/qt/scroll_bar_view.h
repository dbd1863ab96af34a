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

protected:
    void focusInEvent(QFocusEvent* e) override;

private:
    void userValue(int v);

    platform::ScrollBar& bar_;
    ViewContext ctx_;
    ViewHook hook_;
    bool syncing_ = false;
};

}  // namespace platform_qt
