#pragma once
#include <QWidget>

#include "platform/controls/frame.h"
#include "view_context.h"

namespace platform_qt {

// A frame: a plain container that clips its children to its area. Its
// caption is never drawn; the window's frames are covered by what they hold.
class FrameView : public QWidget {
    Q_OBJECT
public:
    FrameView(platform::Frame& frame, const ViewContext& ctx, QWidget* parent);
    platform::Frame& control() { return frame_; }
    void refresh();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    platform::Frame& frame_;
    ViewContext ctx_;
    ViewHook hook_;
};

}  // namespace platform_qt
