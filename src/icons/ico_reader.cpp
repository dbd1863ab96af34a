#include "ico_reader.h"

#include "ico_format.h"

namespace icons::ico {
namespace {

struct Header {
    std::uint16_t type = 0;
    std::size_t entries = 0;  // those whose 16 bytes are in the file, at most kMaxGroupEntries
};

std::optional<Header> ReadHeader(const ByteSource& src) {
    const auto bytes = Fetch(src, 0, dir::kSize, dir::kSize);
    if (!bytes) return std::nullopt;
    const ByteView h(*bytes);
    const std::uint16_t type = h.u16(dir::kType);
    const std::uint16_t count = h.u16(dir::kCount);
    if (h.u16(dir::kReserved) != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0) return std::nullopt;
    const std::uint64_t fits = (src.size() - dir::kSize) / entry::kSize;
    std::uint64_t n = count < fits ? count : fits;
    if (n > kMaxGroupEntries) n = kMaxGroupEntries;
    return Header{type, static_cast<std::size_t>(n)};
}

std::vector<ImageRef> ReadEntries(const ByteSource& src, const Header& h) {
    std::vector<ImageRef> images;
    const auto table = Fetch(src, dir::kSize, entry::kSize * h.entries, entry::kSize * kMaxGroupEntries);
    if (!table) return images;
    const ByteView t(*table);
    for (std::size_t i = 0; i < h.entries; ++i) {
        const ByteView e = t.sub(entry::kSize * i, entry::kSize);
        const Blob blob = ClampedBlob(src, e.u32(entry::kImageOffset), e.u32(entry::kImageBytes));
        if (blob.size == 0) continue;  // points outside the file
        // A cursor's planes and bit count are its hotspot, which says nothing of its depth.
        ImageRef ref{blob, DirectorySide(e.u8(entry::kWidth)), DirectorySide(e.u8(entry::kHeight)),
                     h.type == kTypeIcon ? e.u16(entry::kBitCount) : 0};
        ref.colours = e.u8(entry::kColours);
        ref.planes = e.u16(entry::kPlanes);
        ref.bitCount = e.u16(entry::kBitCount);
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
    g.cursor = h->type == kTypeCursor;
    g.images = ReadEntries(source, *h);
    return g;
}

}  // namespace icons::ico
