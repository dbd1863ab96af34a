#include "thumbnail.h"

#include <algorithm>

#include "icons/icon_file.h"
#include "icons/stretch.h"

namespace cli {

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
    // The image the window would draw at this size, by the same choice.
    const int k = icon ? icons::ChosenImage(*icon, size) : -1;
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
