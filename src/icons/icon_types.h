#pragma once
// The reader's plain values, below everything else in it: a decoded picture,
// how a file's icons are counted, and what an icon holds as described. They
// carry no behaviour, so the decoders, the containers and every caller share
// them without reaching for the calls that make them.

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/bitmap.h"

namespace icons {

// One decoded picture. As returned by ExtractIcon it is always size x size
// (32x32 unless asked otherwise); the image decoder uses the same shape at the
// image's own size.
struct Icon {
    int width = 32;
    int height = 32;
    bool blended = false;               // true: alpha-blend `color` and ignore `mask`
    std::vector<pixels::Argb> color;  // width*height, top row first; alpha counts only when blended
    std::vector<std::uint8_t> mask;     // width*height; 1 = keep the background, 0 = paint
};

// How a file's icons are counted. The defaults count what Windows' ExtractIcon counts.
struct OpenOptions {
    // A program's cursor groups count too, after its icon groups.
    bool cursors = false;
};

// One image of a group as stored, in group order. Size and depth come from
// the image's own header, or from the group's directory when it has none that
// can be read.
struct ImageDescription {
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel; a PNG's bit depth times its channels
    bool png = false;
    std::uint32_t bytes = 0;  // as stored, and as written by IconFileBytes
};

struct IconDescription {
    // The resource's name, or its number as text; empty for an .ico or .cur
    // file, which is its own one icon and is named by the file's name, and
    // for the frames of an animated cursor.
    std::string name;
    bool cursor = false;  // a .cur file, or an animated cursor's frame that is one
    std::vector<ImageDescription> images;  // only images whose bytes are in the file
    // Position in `images` of the one drawn at the size it was described for
    // (32x32 unless asked otherwise); -1 for none.
    int shown = -1;
};

}  // namespace icons
