#pragma once
// Where an image or a resource lives in its source.

#include <cstdint>

#include "byte_source.h"

namespace icons {

// A window [offset, offset+size) of a source.
struct Blob {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// The window clipped to the source, so a container's idea of where an image
// lives never reaches past the file's end.
inline Blob ClampedBlob(const ByteSource& src, std::uint64_t offset, std::uint64_t size) {
    const std::uint64_t total = src.size();
    if (offset >= total) return {offset, 0};
    return {offset, size < total - offset ? size : total - offset};
}

}  // namespace icons
