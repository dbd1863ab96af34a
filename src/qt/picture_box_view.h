#pragma once
#include <QImage>
#include <QWidget>

#include "platform/controls/picture_box.h"
#include "view_context.h"

namespace platform_qt {

// A picture box: a container that paints its persistent image inside its
// sunken border, and whose children sit in the client area within it.
class PictureBoxView : public QWidget {
    Q_OBJECT
public:
    PictureBoxView(platform::PictureBox& box, const ViewContext& ctx, QWidget* parent);
    ~PictureBoxView() override;
    platform::PictureBox& control() { return box_; }
    void refresh();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    platform::PictureBox& box_;
    ViewContext ctx_;
    ViewHook hook_;
    QImage image_;  // the persistent image as last read, null while blank
    bool pressedLeft_ = false;
};

}  // namespace platform_qt
