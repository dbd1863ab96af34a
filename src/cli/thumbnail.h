#pragma once
// The picture a file manager shows for a Windows file: its first icon as
// Explorer shows an executable, fitted into the size the file manager asks for.

#include <optional>
#include <utility>

#include "icons/byte_source.h"
#include "icons/whole_icon.h"

namespace cli {

// The size of a width x height picture fitted into size x size, aspect kept:
// unchanged when it fits already (a thumbnail is never enlarged), and never 0
// wide or high however thin the picture.
std::pair<int, int> FitWithin(int width, int height, int size);

struct Thumbnail {
    std::optional<icons::RgbaImage> image;
    const char* failure = nullptr;  // without an image: why, for the one line a file manager logs
};

// Icon 0 of the source, its chosen image decoded and scaled down smoothly to
// fit `size`, transparency kept.
Thumbnail MakeThumbnail(const icons::ByteSource& source, int size);

}  // namespace cli
