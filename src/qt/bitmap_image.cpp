#include "bitmap_image.h"

namespace platform_qt {

QImage ToQImage(const pixels::Bitmap& b) {
    QImage img(b.width, b.height, QImage::Format_RGB32);
    for (int y = 0; y < b.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < b.width; ++x) line[x] = b.at(x, y) | 0xFF000000u;
    }
    return img;
}

}  // namespace platform_qt
