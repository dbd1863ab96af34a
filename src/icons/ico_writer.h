#pragma once
// The one writer of .ico and .cur files, for every save that makes one: the
// directory first, then the images in the order it lists them.

#include <cstdint>
#include <optional>
#include <span>

#include "byte_view.h"
#include "pixels/bitmap.h"

namespace icons {

// One image and what its directory entry says of it.
struct IcoImage {
    int width = 0;  // 256 and more are written as 0, which readers take for 256
    int height = 0;
    std::uint8_t colours = 0;    // palette entries; 0 for none or 256
    std::uint16_t planes = 0;    // a cursor's hotspot x
    std::uint16_t bitCount = 0;  // a cursor's hotspot y
    std::span<const std::uint8_t> bytes;  // the image as stored: a DIB or a PNG
};

// The whole file, a cursor's or an icon's: the directory, whose sizes and
// offsets follow from the images, then each image's bytes as given.
Bytes WriteIcoFile(bool cursor, std::span<const IcoImage> images);

// A picture as an icon file of one image: a 32-bit DIB, every pixel opaque,
// with an AND mask that hides nothing, so that every reader, old or new,
// shows the picture as it is. Nothing for a picture larger than 256 pixels a
// side, which an icon's directory cannot describe.
std::optional<Bytes> OpaqueIcoFile(const pixels::Bitmap& picture);

}  // namespace icons
