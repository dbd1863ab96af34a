#pragma once
// Little-endian fields decoded one by one from bytes already read, so nothing
// depends on the host's struct layout or alignment.

#include <array>
#include <cstddef>
#include <cstdint>

#include "byte_source.h"

namespace platform::icons {

inline std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t LeI32(const std::uint8_t* p) { return static_cast<std::int32_t>(Le32(p)); }
inline std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

template <std::size_t N>
bool ReadBytes(const ByteSource& src, std::uint64_t offset, std::array<std::uint8_t, N>& out) {
    return src.read(offset, out.data(), N);
}

// A window [offset, offset+size) of a source, clipped to the source, so a
// container's idea of where an image lives never reaches past the file's end.
struct Blob {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

inline Blob ClampedBlob(const ByteSource& src, std::uint64_t offset, std::uint64_t size) {
    const std::uint64_t total = src.size();
    if (offset >= total) return {offset, 0};
    return {offset, size < total - offset ? size : total - offset};
}

}  // namespace platform::icons
