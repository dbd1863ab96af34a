#pragma once
// One image of an icon resource or icon file: a DIB (BITMAPINFOHEADER, colour
// bits followed by the AND mask, the height doubled to cover both) or a PNG.

#include <optional>

#include "blob.h"
#include "byte_view.h"
#include "icon_types.h"

namespace icons {

// Icons larger than 256 are rare but real, as DIBs (a 194x313 one ships with
// common programs) as well as PNGs; past 1024 a side they are only a way to
// make us allocate.
constexpr int kMaxPngSide = 1024;
constexpr int kMaxDibSide = kMaxPngSide;
// A PNG icon image larger than this is no icon; its bytes are read whole to decode it.
constexpr std::uint64_t kMaxPngBytes = 16u << 20;

struct ImageInfo {
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel; for a PNG its bit depth times its channels
    bool png = false;
};

// What the header probe reads of an image: a DIB header and the masks after
// it, or PNG's signature and IHDR.
constexpr std::uint64_t kImageHeadBytes = 56;

// Size and depth from the image's own header, reading only that header.
// nullopt when the header is neither a usable DIB header nor a PNG IHDR.
std::optional<ImageInfo> ProbeImage(const ByteSource& source, Blob blob);
std::optional<ImageInfo> ProbeImageBytes(ByteView image);

// The image at its own size. A DIB reads exactly the bytes its header says it
// needs; a PNG is read whole (at most kMaxPngBytes). nullopt when anything
// does not fit. The ...Bytes forms decode an image already in memory.
std::optional<Icon> DecodeImage(const ByteSource& source, Blob blob);
std::optional<Icon> DecodeImageBytes(ByteView image);

// PNG half of the above, kept apart because libpng reports errors by longjmp.
bool IsPngSignature(const ByteSource& source, Blob blob);
std::optional<Icon> DecodePng(const ByteSource& source, Blob blob);
std::optional<Icon> DecodePngBytes(ByteView png);

}  // namespace icons
