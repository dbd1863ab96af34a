#pragma once
// What every view needs besides its control: the screen's scale and the one
// dispatcher of user input, and a hook that re-reads the control on change.

#include <QPoint>
#include <Qt>
#include <functional>
#include <utility>

#include "dispatcher.h"
#include "platform/controls/control.h"
#include "platform/units.h"

namespace platform_qt {

struct ViewContext {
    platform::ScreenScale scale;
    Dispatcher* dispatch = nullptr;
};

// Owns a control's viewChanged hook for the life of the view, so a control
// that outlives its view never calls into a destroyed widget.
class ViewHook {
public:
    ViewHook() = default;
    ViewHook(const ViewHook&) = delete;
    ViewHook& operator=(const ViewHook&) = delete;
    ~ViewHook() { release(); }

    void install(platform::Control& c, std::function<void()> onChange) {
        release();
        control_ = &c;
        c.viewChanged = [f = std::move(onChange)](platform::Control&) { f(); };
    }
    void release() {
        if (control_) control_->viewChanged = nullptr;
        control_ = nullptr;
    }

private:
    platform::Control* control_ = nullptr;
};

// The button and modifier masks the handlers receive.
inline int ButtonMask(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return platform::mouse::kLeft;
        case Qt::RightButton: return platform::mouse::kRight;
        case Qt::MiddleButton: return platform::mouse::kMiddle;
        default: return 0;
    }
}
inline int ShiftMask(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= platform::mouse::kShift;
    if (m & Qt::ControlModifier) s |= platform::mouse::kCtrl;
    if (m & Qt::AltModifier) s |= platform::mouse::kAlt;
    return s;
}

// The key code a key-down handler receives for a key of the keyboard; 0 for
// keys the window's logic has no name for.
inline int KeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return platform::key::kReturn;
        case Qt::Key_Escape: return platform::key::kEscape;
        case Qt::Key_Space: return platform::key::kSpace;
        case Qt::Key_PageUp: return platform::key::kPageUp;
        case Qt::Key_PageDown: return platform::key::kPageDown;
        case Qt::Key_End: return platform::key::kEnd;
        case Qt::Key_Home: return platform::key::kHome;
        case Qt::Key_Left: return platform::key::kLeft;
        case Qt::Key_Up: return platform::key::kUp;
        case Qt::Key_Right: return platform::key::kRight;
        case Qt::Key_Down: return platform::key::kDown;
        default: break;
    }
    // Letters and digits are their upper-case character codes.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    return 0;
}

}  // namespace platform_qt

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "placement.h"

namespace platform_qt {

inline QColor ToQColor(pixels::Argb c) { return QColor(pixels::RedOf(c), pixels::GreenOf(c), pixels::BlueOf(c)); }

// Puts a control's widget where the control says, shown or hidden as it says.
inline void Place(QWidget& w, const platform::Control& c, const platform::ScreenScale& s) {
    const QRect r = PixelRect(c, s);
    if (w.geometry() != r) w.setGeometry(r);
    if (w.isHidden() == c.Visible()) w.setVisible(c.Visible());
}

inline void SetColors(QWidget& w, const platform::Control& c) {
    QPalette p = w.palette();
    p.setColor(QPalette::Window, ToQColor(c.BackColor()));
    p.setColor(QPalette::Base, ToQColor(c.BackColor()));
    p.setColor(QPalette::WindowText, ToQColor(c.ForeColor()));
    p.setColor(QPalette::Text, ToQColor(c.ForeColor()));
    if (p != w.palette()) w.setPalette(p);
}

}  // namespace platform_qt
