#include "qt_desktop.h"

#include <QBuffer>
#include <QByteArray>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "bitmap_image.h"
#include "platform/failure.h"

namespace platform_qt {

std::vector<std::uint8_t> QtDesktop::EncodePicture(const pixels::Bitmap& image, PictureFormat format) {
    const char* name = "BMP";
    int quality = -1;
    if (format == PictureFormat::Jpeg) {
        name = "JPEG";
        quality = 95;
    } else if (format == PictureFormat::Png) {
        name = "PNG";
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ToQImage(image).save(&buffer, name, quality)) throw platform::Failure(std::string("cannot encode ") + name);
    return {bytes.begin(), bytes.end()};
}

void QtDesktop::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromUtf8(url.c_str())));
}

}  // namespace platform_qt
