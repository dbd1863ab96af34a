#pragma once
// The one way fields are written: each at its offset, little-endian, as
// ByteView reads them back. The bytes grow to take a field written past
// their end, so a record is written field by field in any order.

#include <cstddef>
#include <cstdint>

#include "byte_view.h"

namespace icons {

class ByteWriter {
public:
    // Writes into `bytes` with every offset counted from `base`.
    explicit ByteWriter(Bytes& bytes, std::size_t base = 0) : bytes_(bytes), base_(base) {}

    void u8(std::size_t at, std::uint8_t v) { room(at, 1)[0] = v; }
    void u16(std::size_t at, std::uint16_t v) {
        std::uint8_t* p = room(at, 2);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::size_t at, std::uint32_t v) {
        std::uint8_t* p = room(at, 4);
        for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

private:
    std::uint8_t* room(std::size_t at, std::size_t len) {
        if (bytes_.size() < base_ + at + len) bytes_.resize(base_ + at + len);
        return bytes_.data() + base_ + at;
    }

    Bytes& bytes_;
    std::size_t base_;
};

}  // namespace icons
