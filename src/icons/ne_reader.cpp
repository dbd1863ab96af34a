#include "ne_reader.h"

#include <algorithm>

#include "executable.h"
#include "ne_format.h"

namespace icons::ne {
namespace {

// Shifts past this would place resources beyond any file there is.
constexpr unsigned kMaxAlignShift = 24;

std::optional<std::uint32_t> NeHeaderOffset(const ByteSource& src) {
    const auto h = ReadNewHeader(src);
    if (!h || h->signature[0] != 'N' || h->signature[1] != 'E') return std::nullopt;
    return h->offset;
}

// The resource table's records in order, or nullopt when the table is malformed.
std::optional<std::vector<Resource>> ParseTable(const ByteSource& src, ByteView table) {
    std::vector<Resource> out;
    const unsigned shift = table.u16(resource_table::kAlignShift);
    if (table.failed() || shift > kMaxAlignShift) return std::nullopt;
    std::uint64_t pos = resource_table::kTypes;
    for (;;) {
        const std::uint16_t type = table.u16(pos + type_info::kType);
        if (table.failed()) return std::nullopt;
        if (type == 0) break;
        const std::uint16_t count = table.u16(pos + type_info::kCount);
        pos += type_info::kSize;
        // All of the type's NAMEINFO records must be there before any is taken.
        if (!table.has(pos, name_info::kSize * count)) return std::nullopt;
        for (std::uint16_t i = 0; i < count; ++i, pos += name_info::kSize) {
            const ByteView n = table.sub(pos, name_info::kSize);
            const std::uint64_t offset = static_cast<std::uint64_t>(n.u16(name_info::kOffset)) << shift;
            const std::uint64_t size = static_cast<std::uint64_t>(n.u16(name_info::kLength)) << shift;
            out.push_back({type, n.u16(name_info::kId), ClampedBlob(src, offset, size)});
        }
    }
    return out;
}

}  // namespace

std::optional<Resources> Resources::Open(const ByteSource& src, bool cursors) {
    const auto neAt = NeHeaderOffset(src);
    if (!neAt) return std::nullopt;
    Resources res(src);
    const auto bytes = Fetch(src, *neAt, header::kSize, header::kSize);
    if (!bytes) return res;
    const ByteView h(*bytes);
    const std::uint16_t tableOffset = h.u16(header::kResourceTable);
    const std::uint16_t residentNames = h.u16(header::kResidentNames);
    if (tableOffset == residentNames) return res;  // the table is empty: no resources
    // The resident-name table follows the resource table; when it does not, the file's end bounds it.
    const std::uint64_t length = residentNames > tableOffset ? residentNames - tableOffset : 0x10000u;
    res.table_ = FetchSome(src, static_cast<std::uint64_t>(*neAt) + tableOffset, length, 0x10000u);
    auto parsed = ParseTable(src, ByteView(res.table_));
    if (!parsed) return res;
    res.resources_ = std::move(*parsed);
    for (std::size_t i = 0; i < res.resources_.size(); ++i) {
        if (res.resources_[i].type == kRtGroupIcon) res.groupAt_.push_back(i);
    }
    if (cursors) {
        for (std::size_t i = 0; i < res.resources_.size(); ++i) {
            if (res.resources_[i].type == kRtGroupCursor) res.groupAt_.push_back(i);
        }
    }
    return res;
}

// Numbered resources carry the high bit; the others name a length-prefixed string in the table.
std::string Resources::nameOf(std::uint16_t id) const {
    if ((id & kNumbered) != 0) return std::to_string(id & ~kNumbered);
    const ByteView t(table_);
    const std::uint8_t len = t.u8(id);
    const ByteView text = t.sub(static_cast<std::uint64_t>(id) + 1, len);
    if (text.failed()) return {};
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::optional<RawGroup> Resources::group(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= groupAt_.size()) return std::nullopt;
    const Resource& g = resources_[groupAt_[static_cast<std::size_t>(index)]];
    const auto bytes = Fetch(*src_, g.blob.offset, std::min(g.blob.size, kMaxGroupBytes), kMaxGroupBytes);
    if (!bytes) return std::nullopt;
    RawGroup out;
    out.name = nameOf(g.id);
    out.cursor = g.type == kRtGroupCursor;
    const std::uint16_t imageType = out.cursor ? kRtCursor : kRtIcon;
    const auto resolve = [&](std::uint16_t id, std::uint32_t bytes) -> std::optional<Blob> {
        // Numbered resources carry the high bit in the table but not in the group's entries.
        const std::uint16_t wanted = static_cast<std::uint16_t>(id | kNumbered);
        for (const Resource& r : resources_) {
            if (r.type != imageType || r.id != wanted || r.blob.size == 0) continue;
            // The table rounds lengths up to its alignment; the group knows the image's own size.
            Blob b = r.blob;
            if (bytes != 0 && bytes < b.size) b.size = bytes;
            return b;
        }
        return std::nullopt;
    };
    out.images = out.cursor ? ReadCursorGroupDirectory(ByteView(*bytes), *src_, resolve)
                            : ReadGroupDirectory(ByteView(*bytes), resolve);
    return out;
}

std::optional<int> CountIconGroups(const ByteSource& source) {
    const auto res = Resources::Open(source);
    if (!res) return std::nullopt;
    return res->groupCount();
}

}  // namespace icons::ne
