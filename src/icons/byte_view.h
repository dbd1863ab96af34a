#pragma once
// The one way the readers look at bytes: a bounded view over bytes already in
// memory. Every field is decoded on its own as little-endian, and every read
// is checked against the view's end by subtraction, so no offset a file makes
// up can reach past what was read. A read that does not fit returns 0 and
// marks the view failed; the failure sticks, so a parser reads a record's
// fields and checks once.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "byte_source.h"

namespace icons {

using Bytes = std::vector<std::uint8_t>;

class ByteView {
public:
    ByteView() = default;
    ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}
    explicit ByteView(std::span<const std::uint8_t> bytes) : ByteView(bytes.data(), bytes.size()) {}

    std::size_t size() const { return size_; }
    const std::uint8_t* data() const { return data_; }
    bool failed() const { return failed_; }

    // True when [at, at+len) lies inside the view; safe for any values.
    bool has(std::uint64_t at, std::uint64_t len) const { return at <= size_ && len <= size_ - at; }

    std::uint8_t u8(std::uint64_t at) const {
        if (!has(at, 1)) return fail();
        return data_[at];
    }
    std::uint16_t u16(std::uint64_t at) const {
        if (!has(at, 2)) return fail();
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t u32(std::uint64_t at) const {
        if (!has(at, 4)) return fail();
        const std::uint8_t* p = data_ + at;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::int32_t i32(std::uint64_t at) const { return static_cast<std::int32_t>(u32(at)); }
    // PNG's fields are big-endian.
    std::uint32_t be32(std::uint64_t at) const {
        if (!has(at, 4)) return fail();
        const std::uint8_t* p = data_ + at;
        return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
               (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
    }

    // The bytes [at, at+len); an empty, failed view when they are not all here.
    ByteView sub(std::uint64_t at, std::uint64_t len) const {
        if (failed_ || !has(at, len)) {
            fail();
            ByteView bad;
            bad.failed_ = true;
            return bad;
        }
        return ByteView(data_ + at, static_cast<std::size_t>(len));
    }

private:
    std::uint8_t fail() const {
        failed_ = true;
        return 0;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    mutable bool failed_ = false;
};

// Reads [at, at+len) of the source into memory, or nullopt when the range is
// not wholly inside the source, cannot be read, or is longer than `cap`.
inline std::optional<Bytes> Fetch(const ByteSource& source, std::uint64_t at, std::uint64_t len, std::uint64_t cap) {
    if (len > cap || !source.contains(at, len)) return std::nullopt;
    Bytes out(static_cast<std::size_t>(len));
    if (!source.read(at, out.data(), out.size())) return std::nullopt;
    return out;
}

// Reads what there is of [at, at+len), up to `cap` bytes and the source's end;
// empty when `at` is past the end.
inline Bytes FetchSome(const ByteSource& source, std::uint64_t at, std::uint64_t len, std::uint64_t cap) {
    const std::uint64_t total = source.size();
    if (at >= total) return {};
    std::uint64_t n = len < total - at ? len : total - at;
    if (n > cap) n = cap;
    Bytes out(static_cast<std::size_t>(n));
    if (!source.read(at, out.data(), out.size())) return {};
    return out;
}

}  // namespace icons
