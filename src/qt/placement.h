#pragma once
// Twips become pixels only here, at the screen's DPI.

#include <QPoint>
#include <QRect>

#include "platform/controls/control.h"
#include "platform/units.h"

namespace platform_qt {

inline int ToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(platform::RoundHalfEven(twips / twipsPerPixel));
}
inline int ToPixelsX(double twips, const platform::ScreenScale& s) { return ToPixels(twips, s.twipsPerPixelX()); }
inline int ToPixelsY(double twips, const platform::ScreenScale& s) { return ToPixels(twips, s.twipsPerPixelY()); }

inline float ToTwipsX(double px, const platform::ScreenScale& s) { return static_cast<float>(px * s.twipsPerPixelX()); }
inline float ToTwipsY(double px, const platform::ScreenScale& s) { return static_cast<float>(px * s.twipsPerPixelY()); }

// The offset of a container's client area inside its widget: its border.
inline QPoint ClientOrigin(const platform::Control& container, const platform::ScreenScale& s) {
    return {ToPixelsX(container.Border(), s), ToPixelsY(container.Border(), s)};
}

// Where a control's widget goes inside its container's widget. Positions
// count from the container's client area, so a bordered container shifts
// its children by the border.
inline QRect PixelRect(const platform::Control& c, const platform::ScreenScale& s) {
    QPoint origin;
    if (const platform::Control* parent = c.Container()) origin = ClientOrigin(*parent, s);
    return {origin.x() + ToPixelsX(c.Left(), s), origin.y() + ToPixelsY(c.Top(), s), ToPixelsX(c.Width(), s),
            ToPixelsY(c.Height(), s)};
}

// A rectangle in a container's client coordinates (twips) as pixels of the
// same client area, for things a view paints rather than places.
inline QRect PixelRectIn(double left, double top, double width, double height, const platform::ScreenScale& s) {
    return {ToPixelsX(left, s), ToPixelsY(top, s), ToPixelsX(width, s), ToPixelsY(height, s)};
}

}  // namespace platform_qt
