#pragma once
#include <QWidget>

#include "platform/controls/window.h"
#include "view_context.h"

namespace platform_qt {

// The top-level window. The model holds the outer size (the window manager's
// frame included); the widget is the client area. The first showing records
// the frame and raises the first resize; after that, every size the user or
// the window manager makes is reported, and every size the model sets is
// applied, without echoing one into the other.
class WindowView : public QWidget {
    Q_OBJECT
public:
    WindowView(platform::Window& window, const ViewContext& ctx);
    platform::Window& control() { return window_; }
    void refresh();

    // The smallest outer size the window manager should allow, in twips.
    void setMinimumOuterSize(double width, double height);
    // Shows the window centred on the screen; the first time, records the
    // frame and raises the window's first resize.
    void showCentred();
    bool Shown() const { return shown_; }

    // The client size the model asks for, in pixels.
    QSize ModelClientPixels() const;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    platform::Window::Frame measuredFrame() const;
    void applyMinimum();
    void reportSize();
    void centreOnScreen();

    platform::Window& window_;
    ViewContext ctx_;
    ViewHook hook_;
    bool shown_ = false;
    bool reporting_ = false;
    // Centred before the window manager had drawn its frame: centre again
    // once the frame is known.
    bool centreWhenFramed_ = false;
    double minWidth_ = 0, minHeight_ = 0;
};

}  // namespace platform_qt
