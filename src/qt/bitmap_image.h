#pragma once
// A cell's picture as Qt holds it. The cell's picture is opaque: it was drawn
// onto the cell's background, and the clipboard and picture files carry no
// alpha, so every pixel is made fully opaque.
#include <QImage>

#include "pixels/bitmap.h"

namespace platform_qt {

QImage ToQImage(const pixels::Bitmap& b);

}  // namespace platform_qt
