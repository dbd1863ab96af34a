#pragma once
// One image of an icon resource or icon file: a DIB (BITMAPINFOHEADER, colour
// bits followed by the AND mask, the height doubled to cover both) or a PNG.

#include <optional>

#include "icons.h"
#include "le.h"

namespace platform::icons {

// Windows never makes a DIB icon wider than 256; PNG icons can be larger but
// past 1024 they are only a way to make us allocate.
constexpr int kMaxDibSide = 256;
constexpr int kMaxPngSide = 1024;

struct ImageInfo {
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel; for a PNG its bit depth times its channels
    bool png = false;
};

// Size and depth from the image's own header, reading only that header.
// nullopt when the header is neither a usable DIB header nor a PNG IHDR.
std::optional<ImageInfo> ProbeImage(const ByteSource& source, Blob blob);

// The image at its own size. A DIB reads exactly the bytes its header says it
// needs; a PNG streams from the source. nullopt when anything does not fit.
std::optional<Icon> DecodeImage(const ByteSource& source, Blob blob);

// PNG half of the above, kept apart because libpng reports errors by longjmp.
bool IsPngSignature(const ByteSource& source, Blob blob);
std::optional<Icon> DecodePng(const ByteSource& source, Blob blob);

}  // namespace platform::icons
