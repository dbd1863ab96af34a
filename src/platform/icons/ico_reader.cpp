#include "ico_reader.h"

namespace platform::icons::ico {
namespace {

struct Header {
    std::uint16_t type = 0;
    std::size_t entries = 0;  // those whose 16 bytes are in the file, at most kMaxGroupEntries
};

std::optional<Header> ReadHeader(const ByteSource& src) {
    const auto bytes = Fetch(src, 0, 6, 6);
    if (!bytes) return std::nullopt;
    const ByteView h(*bytes);
    const std::uint16_t type = h.u16(2);
    const std::uint16_t count = h.u16(4);
    if (h.u16(0) != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    const std::uint64_t fits = (src.size() - 6) / 16;
    std::uint64_t n = count < fits ? count : fits;
    if (n > kMaxGroupEntries) n = kMaxGroupEntries;
    return Header{type, static_cast<std::size_t>(n)};
}

std::vector<ImageRef> ReadEntries(const ByteSource& src, const Header& h) {
    std::vector<ImageRef> images;
    const auto table = Fetch(src, 6, 16ull * h.entries, 16ull * kMaxGroupEntries);
    if (!table) return images;
    const ByteView t(*table);
    for (std::size_t i = 0; i < h.entries; ++i) {
        const ByteView e = t.sub(16 * i, 16);
        const Blob blob = ClampedBlob(src, e.u32(12), e.u32(8));
        if (blob.size == 0) continue;  // points outside the file
        ImageRef ref{blob, DirectorySide(e.u8(0)), DirectorySide(e.u8(1)), h.type == 1 ? e.u16(6) : 0};
        ref.colours = e.u8(2);
        ref.planes = e.u16(4);
        ref.bitCount = e.u16(6);
        images.push_back(ref);
    }
    return images;
}

}  // namespace

std::optional<int> CountIcons(const ByteSource& source) {
    const auto h = ReadHeader(source);
    if (!h) return std::nullopt;
    return ReadEntries(source, *h).empty() ? 0 : 1;
}

std::vector<ImageRef> Images(const ByteSource& source) {
    const auto h = ReadHeader(source);
    if (!h) return {};
    return ReadEntries(source, *h);
}

std::optional<RawGroup> Group(const ByteSource& source) {
    const auto h = ReadHeader(source);
    if (!h) return std::nullopt;
    RawGroup g;
    g.cursor = h->type == 2;
    g.images = ReadEntries(source, *h);
    return g;
}

}  // namespace platform::icons::ico
