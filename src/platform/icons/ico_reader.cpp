#include "ico_reader.h"

namespace platform::icons::ico {
namespace {

struct Header {
    std::uint16_t type = 0;
    std::size_t entries = 0;  // those whose 16 bytes are in the file, at most kMaxGroupEntries
};

std::optional<Header> ReadHeader(const ByteSource& src) {
    std::array<std::uint8_t, 6> h{};
    if (!ReadBytes(src, 0, h)) return std::nullopt;
    const std::uint16_t type = Le16(&h[2]);
    const std::uint16_t count = Le16(&h[4]);
    if (Le16(&h[0]) != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    std::uint64_t fits = (src.size() - 6) / 16;
    std::uint64_t n = count < fits ? count : fits;
    if (n > kMaxGroupEntries) n = kMaxGroupEntries;
    return Header{type, static_cast<std::size_t>(n)};
}

std::vector<ImageRef> ReadEntries(const ByteSource& src, const Header& h) {
    std::vector<ImageRef> images;
    std::vector<std::uint8_t> table(h.entries * 16);
    if (!src.read(6, table.data(), table.size())) return images;
    for (std::size_t i = 0; i < h.entries; ++i) {
        const std::uint8_t* e = &table[i * 16];
        const std::uint32_t bytes = Le32(&e[8]);
        const std::uint32_t offset = Le32(&e[12]);
        const Blob blob = ClampedBlob(src, offset, bytes);
        if (blob.size == 0) continue;  // points outside the file
        images.push_back({blob, DirectorySide(e[0]), DirectorySide(e[1]), h.type == 1 ? Le16(&e[6]) : 0});
    }
    return images;
}

}  // namespace

bool IsIco(const ByteSource& source) { return ReadHeader(source).has_value(); }

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

}  // namespace platform::icons::ico
