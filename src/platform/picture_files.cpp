#include "picture_files.h"

#include <QImage>
#include <QSaveFile>

#include "failure.h"

namespace platform {

namespace {
QImage ToQImage(const Bitmap& b) {
    QImage img(b.width, b.height, QImage::Format_RGB32);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) img.setPixel(x, y, b.at(x, y) | 0xFF000000u);
    return img;
}
}  // namespace

void WritePictureFile(const Bitmap& image, const std::string& path) {
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly)) throw Failure("cannot write " + path);
    if (!ToQImage(image).save(&file, "BMP") || !file.commit()) throw Failure("cannot write " + path);
}

}  // namespace platform
