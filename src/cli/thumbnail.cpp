#include "thumbnail.h"

#include "icons/icon_file.h"
#include "icons/stretch.h"

namespace cli {

Thumbnail MakeThumbnail(const icons::ByteSource& source, int size) { return MakeThumbnail(icons::IconFile(source), size); }

Thumbnail MakeThumbnail(const icons::IconFile& file, int size) {
    // One reading of the headers and the resource directory serves both the
    // choice of image and its decoding.
    const auto icon = file.describe(0);
    // The image the window would draw at this size, by the same choice.
    const int k = icon ? icons::ChosenImage(*icon, size) : -1;
    if (k < 0) return {std::nullopt, "no icon in"};
    auto image = file.decode(0, k);
    if (!image || image->width <= 0 || image->height <= 0) return {std::nullopt, "cannot read the icon of"};

    const auto [width, height] = icons::FitWithin(image->width, image->height, size);
    return {icons::StretchImage(std::move(*image), width, height)};
}

}  // namespace cli
