#pragma once
// The fields of a RIFF chunk, by their offsets in the chunk, and the codes an
// animated cursor's chunks carry. Every field is little-endian. A chunk is a
// four-character code and the byte count of its body; the body of a RIFF or
// LIST chunk starts with its form or list type, and the chunks it holds
// follow. A body of odd length is followed by one pad byte its count leaves out.

#include <cstdint>

namespace icons::riff {

namespace chunk {
constexpr std::uint64_t kId = 0;
constexpr std::uint64_t kBodyBytes = 4;
constexpr std::uint64_t kSize = 8;  // where the body starts
}  // namespace chunk

// RIFF and LIST chunks: the type opens the body.
namespace list {
constexpr std::uint64_t kType = chunk::kSize;
constexpr std::uint64_t kTypeBytes = 4;
constexpr std::uint64_t kSize = kType + kTypeBytes;  // where the chunks held start
}  // namespace list

// A four-character code as the file stores it, read as one little-endian field.
constexpr std::uint32_t FourCc(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

// The file's own RIFF chunk says how much of the file it spans, and writers
// get it wrong: the cursors of Winamp skins leave it 0, others count bytes
// they never wrote. Windows loads such a cursor to the end of the file, so a
// size of 0, or one reaching past the end, means the rest of the file (the
// chunks inside are still checked against the file and their parents).
constexpr std::uint32_t kSizeToFileEnd = 0;

constexpr std::uint32_t kRiff = FourCc("RIFF");
constexpr std::uint32_t kList = FourCc("LIST");
constexpr std::uint32_t kAcon = FourCc("ACON");  // the form of an animated cursor
constexpr std::uint32_t kFram = FourCc("fram");  // the list of its frames
constexpr std::uint32_t kIcon = FourCc("icon");  // one frame: a whole .ico or .cur file

}  // namespace icons::riff
