#pragma once
// The picture a file manager shows for a Windows file: its first icon as
// Explorer shows an executable, fitted into the size the file manager asks for.

#include <optional>

#include "icons/byte_source.h"
#include "icons/icon_file.h"
#include "icons/whole_icon.h"

namespace cli {

struct Thumbnail {
    std::optional<pixels::Bitmap> image;
    const char* failure = nullptr;  // without an image: why, for the one line a file manager logs
};

// Icon 0 of the source, its chosen image decoded and scaled down smoothly to
// fit `size`, transparency kept.
Thumbnail MakeThumbnail(const icons::ByteSource& source, int size);
Thumbnail MakeThumbnail(const icons::IconFile& file, int size);

}  // namespace cli
