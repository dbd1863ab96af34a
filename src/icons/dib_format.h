#pragma once
// The fields of a DIB's BITMAPINFOHEADER, by their offsets. Every field is
// little-endian. An icon's DIB holds its colour bits and then its AND mask,
// with the height doubled to cover both.

#include <cstdint>

namespace icons::dib {

constexpr std::uint64_t kStructSize = 0;  // the header's own size, which tells its version
constexpr std::uint64_t kWidth = 4;       // signed
constexpr std::uint64_t kHeight = 8;      // signed; an icon's is twice its picture's
constexpr std::uint64_t kPlanes = 12;
constexpr std::uint64_t kBitCount = 14;
constexpr std::uint64_t kCompression = 16;
constexpr std::uint64_t kImageBytes = 20;
constexpr std::uint64_t kXPixelsPerMetre = 24;
constexpr std::uint64_t kYPixelsPerMetre = 28;
constexpr std::uint64_t kColoursUsed = 32;
constexpr std::uint64_t kColoursImportant = 36;
constexpr std::uint64_t kSize = 40;  // BITMAPINFOHEADER; later versions are longer

// The colour masks of BI_BITFIELDS. They follow a 40-byte header; a later
// version holds them in the header itself, at the same places.
constexpr std::uint64_t kRedMask = 40;
constexpr std::uint64_t kGreenMask = 44;
constexpr std::uint64_t kBlueMask = 48;
constexpr std::uint64_t kAlphaMask = 52;  // only in a header of kV3Size or more
constexpr std::uint64_t kV2Size = 52;     // BITMAPV2INFOHEADER: the header and the three masks
constexpr std::uint64_t kV3Size = 56;     // BITMAPV3INFOHEADER, the first with an alpha mask

// RGBQUAD: one colour of the palette that follows the header and its masks.
namespace rgb_quad {
constexpr std::uint64_t kBlue = 0;
constexpr std::uint64_t kGreen = 1;
constexpr std::uint64_t kRed = 2;
constexpr std::uint64_t kSize = 4;
}  // namespace rgb_quad

// The bytes of one row of `bitsPerPixel` bits: rows are padded to whole
// 32-bit words, for the colour bits and the 1-bit AND mask alike.
constexpr std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

}  // namespace icons::dib
