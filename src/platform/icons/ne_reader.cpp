#include "ne_reader.h"

#include <algorithm>

namespace platform::icons::ne {
namespace {

// Shifts past this would place resources beyond any file there is.
constexpr unsigned kMaxAlignShift = 24;

struct Resource {
    std::uint16_t type = 0;
    std::uint16_t id = 0;
    Blob blob;
};

std::optional<std::uint32_t> NeHeaderOffset(const ByteSource& src) {
    std::array<std::uint8_t, 64> dos{};
    if (!ReadBytes(src, 0, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint32_t at = Le32(&dos[0x3C]);
    std::array<std::uint8_t, 2> sig{};
    if (!ReadBytes(src, at, sig) || sig[0] != 'N' || sig[1] != 'E') return std::nullopt;
    return at;
}

// The resource table's records in order, or nullopt when the table is malformed.
// Offsets in the table are 16-bit, so the whole table is under 64 KiB and read at once.
std::optional<std::vector<Resource>> ReadResourceTable(const ByteSource& src, std::uint32_t neAt) {
    std::array<std::uint8_t, 64> header{};
    if (!ReadBytes(src, neAt, header)) return std::nullopt;
    const std::uint16_t tableOffset = Le16(&header[0x24]);
    const std::uint16_t residentNames = Le16(&header[0x26]);
    std::vector<Resource> out;
    if (tableOffset == residentNames) return out;  // the table is empty: no resources
    const std::uint64_t start = static_cast<std::uint64_t>(neAt) + tableOffset;
    // The resident-name table follows the resource table; when it does not, the file's end bounds it.
    std::uint64_t length = residentNames > tableOffset ? residentNames - tableOffset : 0x10000u;
    if (start >= src.size()) return std::nullopt;
    length = std::min<std::uint64_t>(length, src.size() - start);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(length));
    if (!src.read(start, table.data(), table.size())) return std::nullopt;

    std::size_t pos = 0;
    auto left = [&] { return table.size() - pos; };
    if (left() < 2) return std::nullopt;
    const unsigned shift = Le16(&table[0]);
    if (shift > kMaxAlignShift) return std::nullopt;
    pos = 2;
    for (;;) {
        if (left() < 2) return std::nullopt;
        const std::uint16_t type = Le16(&table[pos]);
        if (type == 0) break;
        if (left() < 8) return std::nullopt;
        const std::uint16_t count = Le16(&table[pos + 2]);
        pos += 8;  // TYPEINFO: type, count, reserved
        if (left() / 12 < count) return std::nullopt;
        for (std::uint16_t i = 0; i < count; ++i, pos += 12) {
            const std::uint8_t* n = &table[pos];  // NAMEINFO: offset, length, flags, id, handle, usage
            const std::uint64_t offset = static_cast<std::uint64_t>(Le16(&n[0])) << shift;
            const std::uint64_t size = static_cast<std::uint64_t>(Le16(&n[2])) << shift;
            out.push_back({type, Le16(&n[6]), ClampedBlob(src, offset, size)});
        }
    }
    return out;
}

}  // namespace

bool IsNe(const ByteSource& source) { return NeHeaderOffset(source).has_value(); }

std::optional<int> CountIconGroups(const ByteSource& source) {
    const auto neAt = NeHeaderOffset(source);
    if (!neAt) return std::nullopt;
    const auto table = ReadResourceTable(source, *neAt);
    if (!table) return 0;
    return static_cast<int>(std::count_if(table->begin(), table->end(),
                                          [](const Resource& r) { return r.type == kRtGroupIcon; }));
}

std::vector<ImageRef> IconGroupImages(const ByteSource& source, int index) {
    const auto neAt = NeHeaderOffset(source);
    if (!neAt || index < 0) return {};
    const auto table = ReadResourceTable(source, *neAt);
    if (!table) return {};
    const Resource* group = nullptr;
    int seen = 0;
    for (const Resource& r : *table) {
        if (r.type != kRtGroupIcon) continue;
        if (seen++ == index) {
            group = &r;
            break;
        }
    }
    if (!group) return {};
    return ReadGroupDirectory(source, group->blob, [&](std::uint16_t id) -> std::optional<Blob> {
        // Numbered resources carry the high bit in the table but not in the group's entries.
        const std::uint16_t wanted = static_cast<std::uint16_t>(id | 0x8000);
        for (const Resource& r : *table) {
            if (r.type == kRtIcon && r.id == wanted && r.blob.size > 0) return r.blob;
        }
        return std::nullopt;
    });
}

}  // namespace platform::icons::ne
