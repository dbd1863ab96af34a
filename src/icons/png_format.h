#pragma once
// The start of a PNG image, by offsets from its first byte: the signature,
// then the IHDR chunk, which must come first. PNG's fields are big-endian.

#include <cstdint>

namespace icons::png {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint64_t kSignatureBytes = sizeof kSignature;

// IHDR, right after the signature: a chunk's length and type, then its data.
namespace ihdr {
constexpr std::uint64_t kLength = 8;  // of the data alone
constexpr std::uint64_t kType = 12;   // "IHDR"
constexpr std::uint64_t kWidth = 16;
constexpr std::uint64_t kHeight = 20;
constexpr std::uint64_t kBitDepth = 24;  // bits a channel
constexpr std::uint64_t kColourType = 25;
// Compression, filter and interlace methods and the CRC follow; nothing reads them.
constexpr std::uint64_t kEnd = 26;
constexpr std::uint32_t kDataLength = 13;
}  // namespace ihdr

// Colour types, each with its number of channels.
constexpr std::uint8_t kGrey = 0;
constexpr std::uint8_t kRgb = 2;
constexpr std::uint8_t kPalette = 3;
constexpr std::uint8_t kGreyAlpha = 4;
constexpr std::uint8_t kRgba = 6;

}  // namespace icons::png
