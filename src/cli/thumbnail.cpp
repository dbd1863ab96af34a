#include "thumbnail.h"

#include <algorithm>

#include "icons/icon_file.h"
#include "icons/stretch.h"

namespace cli {

namespace icons = icons;

int ChooseThumbnailImage(const icons::IconDescription& icon, int size) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(icon.images.size()); ++i) {
        const icons::ImageDescription& c = icon.images[static_cast<std::size_t>(i)];
        if (c.width < size || c.height < size) continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const icons::ImageDescription& b = icon.images[static_cast<std::size_t>(best)];
        const long long area = static_cast<long long>(c.width) * c.height;
        const long long bestArea = static_cast<long long>(b.width) * b.height;
        const bool sameSize = c.width == b.width && c.height == b.height;
        if (area < bestArea || (sameSize && c.depth > b.depth)) best = i;
    }
    // Nothing reaches the size: the largest comes nearest, by the same order the whole-icon save uses.
    return best >= 0 ? best : icons::LargestImage(icon);
}

std::pair<int, int> FitWithin(int width, int height, int size) {
    if (width <= size && height <= size) return {width, height};
    // Rounded to the nearest pixel in 64 bits: a 1024-wide picture times any size fits.
    const auto scaled = [size](long long side, long long longest) {
        return std::max(1, static_cast<int>((side * size + longest / 2) / longest));
    };
    if (width >= height) return {size, scaled(height, width)};
    return {scaled(width, height), size};
}

Thumbnail MakeThumbnail(const icons::ByteSource& source, int size) {
    // One reading of the headers and the resource directory serves both the
    // choice of image and its decoding.
    const icons::IconFile file(source);
    const auto icon = file.describe(0);
    const int k = icon ? ChooseThumbnailImage(*icon, size) : -1;
    if (k < 0) return {std::nullopt, "no icon in"};
    auto image = file.decode(0, k);
    if (!image || image->width <= 0 || image->height <= 0) return {std::nullopt, "cannot read the icon of"};

    const auto [width, height] = FitWithin(image->width, image->height, size);
    if (width == image->width && height == image->height) return {std::move(image)};
    // The reader's stretch filters blended pictures premultiplied, so transparent
    // pixels lend no colour to the edges they border.
    icons::Icon picture;
    picture.width = image->width;
    picture.height = image->height;
    picture.blended = true;
    picture.color = std::move(image->pixels);
    picture.mask.assign(picture.color.size(), 0);
    icons::Icon scaled = icons::StretchIcon(picture, width, height);
    image->width = scaled.width;
    image->height = scaled.height;
    image->pixels = std::move(scaled.color);
    return {std::move(image)};
}

}  // namespace cli
