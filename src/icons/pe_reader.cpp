#include "pe_reader.h"

#include <algorithm>

#include "executable.h"
#include "pe_format.h"
#include "utf16.h"

namespace icons::pe {
namespace {

// The most of the resource tree's start read at once; shell32.dll's
// directories and data entries take about 120 KiB.
constexpr std::uint64_t kTreeHeadBytes = 256u << 10;
// The root, the type directories and most of a small library's tree lie in
// its first few KiB: one read takes them, where reading a page at a time would
// take the root's and the icon types' pages one after the other.
constexpr std::uint64_t kTreeStartBytes = 16u << 10;
// Both 16-bit counts of a directory at their maximum.
constexpr std::uint64_t kMaxDirectoryBytes = resource_entry::kSize * 2 * 0xFFFF;
// A resource name is a 16-bit count of UTF-16 units.
constexpr std::uint64_t kMaxNameBytes = resource_name::kUnits + 2ull * 0xFFFF;

std::optional<std::uint32_t> PeHeaderOffset(const ByteSource& src) {
    const auto h = ReadNewHeader(src);
    if (!h || h->signature[0] != 'P' || h->signature[1] != 'E') return std::nullopt;
    std::uint8_t head[file_header::kSignature + 4] = {};
    if (!src.read(h->offset, head, sizeof head)) return std::nullopt;
    if (ByteView(head, sizeof head).u32(file_header::kSignature) != kSignature) return std::nullopt;
    return h->offset;
}

}  // namespace

std::optional<Resources> Resources::Open(const ByteSource& src, bool cursors) {
    const auto peAt = PeHeaderOffset(src);
    if (!peAt) return std::nullopt;
    Resources res(src);
    // Signature and file header, then the optional header up to and including its data directories.
    const auto coff = Fetch(src, *peAt, file_header::kSize, file_header::kSize);
    if (!coff) return res;
    const ByteView c(*coff);
    const std::uint16_t sectionCount = c.u16(file_header::kSectionCount);
    const std::uint16_t optionalSize = c.u16(file_header::kOptionalHeaderSize);
    const std::uint64_t optionalAt = static_cast<std::uint64_t>(*peAt) + file_header::kSize;
    const auto optional = Fetch(src, optionalAt, optionalSize, 0xFFFF);
    if (!optional) return res;
    const ByteView o(*optional);
    std::uint64_t dirCountAt = 0;
    const std::uint16_t magic = o.u16(optional_header::kMagic);
    if (magic == kMagicPe32) dirCountAt = optional_header::kDirectoryCountPe32;
    else if (magic == kMagicPe32Plus) dirCountAt = optional_header::kDirectoryCountPe32Plus;
    else return res;
    const std::uint64_t resourceEntryAt =
        dirCountAt + optional_header::kDirectoryCountBytes + data_directory::kSize * data_directory::kResources;
    // No room for a resource entry, or too few directories to have one: no resources.
    if (!o.has(resourceEntryAt, data_directory::kSize) || o.u32(dirCountAt) <= data_directory::kResources) return res;
    res.resourceRva_ = o.u32(resourceEntryAt + data_directory::kRva);
    const std::uint32_t resourceBytes = o.u32(resourceEntryAt + data_directory::kBytes);
    if (res.resourceRva_ == 0 || resourceBytes == 0) return res;

    if (sectionCount == 0 || sectionCount > kMaxSections) return res;
    const auto table = Fetch(src, optionalAt + optionalSize, section_header::kSize * sectionCount,
                             section_header::kSize * kMaxSections);
    if (!table) return res;
    const ByteView t(*table);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const ByteView s = t.sub(section_header::kSize * i, section_header::kSize);
        res.sections_.push_back({s.u32(section_header::kVirtualAddress), s.u32(section_header::kVirtualSize),
                                 s.u32(section_header::kRawSize), s.u32(section_header::kRawPointer)});
    }
    if (const auto start = res.mapClamped(res.resourceRva_, std::min<std::uint64_t>(resourceBytes, kTreeStartBytes)))
        src.expect(start->offset, start->size);
    res.icons_.groups = res.typeDirectory(kRtGroupIcon);
    if (cursors) res.cursors_.groups = res.typeDirectory(kRtGroupCursor);
    return res;
}

// File offset of `length` bytes at the address; nullopt unless they all lie in one section's file data.
std::optional<std::uint64_t> Resources::map(std::uint64_t rva, std::uint64_t length) const {
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress) continue;
        const std::uint64_t into = rva - s.virtualAddress;
        if (into >= s.rawSize || length > s.rawSize - into) continue;
        const std::uint64_t at = static_cast<std::uint64_t>(s.rawPointer) + into;
        if (!src_->contains(at, length)) return std::nullopt;
        return at;
    }
    return std::nullopt;
}

// Like map, but the length is cut to the end of the section's file data and of the file.
std::optional<Blob> Resources::mapClamped(std::uint64_t rva, std::uint64_t length) const {
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress) continue;
        const std::uint64_t into = rva - s.virtualAddress;
        if (into >= s.rawSize) continue;
        const std::uint64_t n = std::min<std::uint64_t>(length, s.rawSize - into);
        const Blob b = ClampedBlob(*src_, static_cast<std::uint64_t>(s.rawPointer) + into, n);
        if (b.size == 0) return std::nullopt;
        return b;
    }
    return std::nullopt;
}

std::optional<Directory> Resources::directory(std::uint32_t offset) const {
    const auto at = map(static_cast<std::uint64_t>(resourceRva_) + offset, resource_directory::kSize);
    if (!at) return std::nullopt;
    std::uint8_t head[resource_directory::kSize];
    if (!readInto(*at, head, sizeof head)) return std::nullopt;
    const ByteView d(head, sizeof head);
    Directory dir{offset, d.u16(resource_directory::kNamedCount), d.u16(resource_directory::kIdCount)};
    // The entry table must be there in full, or the directory is not trusted at all.
    if (!map(static_cast<std::uint64_t>(resourceRva_) + offset + resource_directory::kSize,
             resource_entry::kSize * dir.count()))
        return std::nullopt;
    return dir;
}

std::optional<Bytes> Resources::entries(const Directory& dir) const {
    const std::uint64_t bytes = resource_entry::kSize * dir.count();
    const auto at = map(static_cast<std::uint64_t>(resourceRva_) + dir.offset + resource_directory::kSize, bytes);
    if (!at || bytes > kMaxDirectoryBytes) return std::nullopt;
    return read(*at, bytes);
}

// The type directory with numeric ID `type` below the root.
std::optional<Directory> Resources::typeDirectory(std::uint32_t type) const {
    const auto root = directory(0);
    if (!root) return std::nullopt;
    const auto table = entries(*root);
    if (!table) return std::nullopt;
    const ByteView t(*table);
    for (std::uint32_t i = root->named; i < root->count(); ++i) {
        const ByteView e = t.sub(resource_entry::kSize * i, resource_entry::kSize);
        const std::uint32_t name = e.u32(resource_entry::kName), target = e.u32(resource_entry::kTarget);
        if ((name & kHighBit) != 0 || name != type) continue;
        // A type that points back at the root would loop forever in a tree walk.
        const std::uint32_t at = target & ~kHighBit;
        if ((target & kHighBit) == 0 || at == 0) return std::nullopt;
        return directory(at);
    }
    return std::nullopt;
}

// The data of the first language under the name entry whose target is `target`.
std::optional<Blob> Resources::firstLanguageData(const Directory& typeDir, std::uint32_t target) const {
    if ((target & kHighBit) == 0) return std::nullopt;
    const std::uint32_t nameAt = target & ~kHighBit;
    // Each level must be new on this path: a directory that is its own ancestor is a loop.
    if (nameAt == 0 || nameAt == typeDir.offset) return std::nullopt;
    // The directory and its first entry.
    std::uint8_t nameDir[resource_directory::kSize + resource_entry::kSize];
    const auto at = map(static_cast<std::uint64_t>(resourceRva_) + nameAt, sizeof nameDir);
    if (!at) return std::nullopt;
    if (!readInto(*at, nameDir, sizeof nameDir)) return std::nullopt;
    const ByteView n(nameDir, sizeof nameDir);
    const std::uint64_t count =
        static_cast<std::uint64_t>(n.u16(resource_directory::kNamedCount)) + n.u16(resource_directory::kIdCount);
    // The whole entry table must be there, as for any directory, though only the first entry is read.
    if (count == 0 || !map(static_cast<std::uint64_t>(resourceRva_) + nameAt + resource_directory::kSize,
                           resource_entry::kSize * count))
        return std::nullopt;
    const std::uint32_t lang = n.u32(resource_directory::kSize + resource_entry::kTarget);
    if ((lang & kHighBit) != 0) return std::nullopt;
    const auto dataAt = map(static_cast<std::uint64_t>(resourceRva_) + lang, resource_data::kSize);
    if (!dataAt) return std::nullopt;
    std::uint8_t data[resource_data::kSize];
    if (!readInto(*dataAt, data, sizeof data)) return std::nullopt;
    const ByteView d(data, sizeof data);
    return mapClamped(d.u32(resource_data::kRva), d.u32(resource_data::kBytes));
}

std::string Resources::nameOf(std::uint32_t name) const {
    if ((name & kHighBit) == 0) return std::to_string(name);
    const std::uint64_t rva = static_cast<std::uint64_t>(resourceRva_) + (name & ~kHighBit);
    const auto at = map(rva, resource_name::kUnits);
    std::uint8_t len[resource_name::kUnits];
    if (!at || !readInto(*at, len, sizeof len)) return {};
    const std::uint64_t bytes = 2ull * ByteView(len, sizeof len).u16(resource_name::kLength);
    const auto textAt = map(rva + resource_name::kUnits, bytes);
    if (!textAt || bytes > kMaxNameBytes) return {};
    const auto text = read(*textAt, bytes);
    return text ? Utf16ToUtf8(ByteView(*text)) : std::string();
}

bool Resources::inTreeHead(std::uint64_t at, std::uint64_t length) const {
    return at >= treeAt_ && at - treeAt_ <= treeHead_.size() && length <= treeHead_.size() - (at - treeAt_);
}

std::optional<Bytes> Resources::read(std::uint64_t at, std::uint64_t length) const {
    if (inTreeHead(at, length)) {
        const auto from = treeHead_.begin() + static_cast<std::ptrdiff_t>(at - treeAt_);
        return Bytes(from, from + static_cast<std::ptrdiff_t>(length));
    }
    return Fetch(*src_, at, length, length);
}

bool Resources::readInto(std::uint64_t at, std::uint8_t* dst, std::size_t length) const {
    if (inTreeHead(at, length)) {
        std::copy_n(treeHead_.begin() + static_cast<std::ptrdiff_t>(at - treeAt_), length, dst);
        return true;
    }
    return src_->read(at, dst, length);
}

// Compilers lay the tree out as its directories, then the data entries in the
// order of the types (icons before icon groups), then names and data. So the
// tree as far as the data entries of the groups from this one on is what the
// icons of the file need; it is read at once, and not a byte of the data after.
void Resources::readTreeHead(const Kind& kind, int index, std::uint32_t target) const {
    if ((target & kHighBit) == 0) return;
    // The directory and its first entry.
    std::uint8_t nameDir[resource_directory::kSize + resource_entry::kSize];
    const auto at = map(static_cast<std::uint64_t>(resourceRva_) + (target & ~kHighBit), sizeof nameDir);
    if (!at || !readInto(*at, nameDir, sizeof nameDir)) return;
    const std::uint32_t lang = ByteView(nameDir, sizeof nameDir).u32(resource_directory::kSize + resource_entry::kTarget);
    if ((lang & kHighBit) != 0) return;
    const std::uint64_t end = static_cast<std::uint64_t>(lang) +
                              resource_data::kSize * (kind.groups->count() - static_cast<std::uint32_t>(index));
    if (const auto head = mapClamped(resourceRva_, std::min(end, kTreeHeadBytes))) {
        treeAt_ = head->offset;
        treeHead_ = FetchSome(*src_, head->offset, head->size, kTreeHeadBytes);
    }
}

bool Resources::loadImageIds(const Kind& kind) const {
    if (kind.imagesLoaded) return kind.images.has_value();
    kind.imagesLoaded = true;
    kind.images = typeDirectory(kind.imageType);
    if (!kind.images) return false;
    const auto table = entries(*kind.images);
    if (!table) {
        kind.images.reset();
        return false;
    }
    const ByteView t(*table);
    kind.imageIds.reserve(kind.images->ids);
    for (std::uint32_t i = kind.images->named; i < kind.images->count(); ++i) {
        const ByteView e = t.sub(resource_entry::kSize * i, resource_entry::kSize);
        const std::uint32_t name = e.u32(resource_entry::kName);
        if (name <= 0xFFFF) kind.imageIds.emplace_back(static_cast<std::uint16_t>(name), e.u32(resource_entry::kTarget));
    }
    // Equal IDs keep their file order, so the first one wins as it did in the tree.
    std::stable_sort(kind.imageIds.begin(), kind.imageIds.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return true;
}

std::optional<Blob> Resources::image(const Kind& kind, std::uint16_t id) const {
    const auto it = std::lower_bound(kind.imageIds.begin(), kind.imageIds.end(), id,
                                     [](const auto& a, std::uint16_t v) { return a.first < v; });
    if (it == kind.imageIds.end() || it->first != id) return std::nullopt;
    // The resource's own size is exact; the group's byte count only repeats it.
    return firstLanguageData(*kind.images, it->second);
}

std::optional<RawGroup> Resources::group(int index) const {
    if (index < 0 || index >= groupCount()) return std::nullopt;
    const bool cursor = index >= icons_.count();
    const Kind& kind = cursor ? cursors_ : icons_;
    if (cursor) index -= icons_.count();
    if (!kind.groupEntries) kind.groupEntries = entries(*kind.groups);
    if (!kind.groupEntries) return std::nullopt;
    const ByteView t(*kind.groupEntries);
    const ByteView e = t.sub(resource_entry::kSize * static_cast<std::uint64_t>(index), resource_entry::kSize);
    const std::uint32_t name = e.u32(resource_entry::kName), target = e.u32(resource_entry::kTarget);
    if (++groupsRead_ == 1) readTreeHead(kind, index, target);
    const auto groupData = firstLanguageData(*kind.groups, target);
    if (!groupData || !loadImageIds(kind)) return std::nullopt;
    const auto bytes = Fetch(*src_, groupData->offset, std::min(groupData->size, kMaxGroupBytes), kMaxGroupBytes);
    if (!bytes) return std::nullopt;

    RawGroup out;
    out.name = nameOf(name);
    out.cursor = cursor;
    const auto resolve = [&](std::uint16_t id, std::uint32_t) { return image(kind, id); };
    out.images = cursor ? ReadCursorGroupDirectory(ByteView(*bytes), *src_, resolve)
                        : ReadGroupDirectory(ByteView(*bytes), resolve);
    return out;
}

std::vector<Resources::Translated> Resources::resourceLanguages(std::uint32_t type, std::uint64_t cap,
                                                                std::size_t maxLanguages, std::uint32_t preferredId) const {
    std::vector<Translated> out;
    const auto typeDir = typeDirectory(type);
    if (!typeDir || typeDir->count() == 0) return out;
    const auto table = entries(*typeDir);
    if (!table) return out;
    const ByteView t(*table);
    std::uint32_t target = t.u32(resource_entry::kTarget);
    for (std::uint32_t i = typeDir->named; i < typeDir->count(); ++i) {
        const ByteView e = t.sub(resource_entry::kSize * i, resource_entry::kSize);
        if (e.u32(resource_entry::kName) == preferredId) {
            target = e.u32(resource_entry::kTarget);
            break;
        }
    }
    // As for the groups: a name must be a directory, new on this path.
    const std::uint32_t nameAt = target & ~kHighBit;
    if ((target & kHighBit) == 0 || nameAt == 0 || nameAt == typeDir->offset) return out;
    const auto nameDir = directory(nameAt);
    if (!nameDir) return out;
    const auto languages = entries(*nameDir);
    if (!languages) return out;
    const ByteView l(*languages);
    std::uint64_t left = cap;
    for (std::uint32_t i = 0; i < nameDir->count() && out.size() < maxLanguages; ++i) {
        const ByteView e = l.sub(resource_entry::kSize * i, resource_entry::kSize);
        const std::uint32_t language = e.u32(resource_entry::kName), data = e.u32(resource_entry::kTarget);
        if ((data & kHighBit) != 0) continue;  // a directory where the data should be
        const auto dataAt = map(static_cast<std::uint64_t>(resourceRva_) + data, resource_data::kSize);
        std::uint8_t entry[resource_data::kSize];
        if (!dataAt || !readInto(*dataAt, entry, sizeof entry)) continue;
        const ByteView d(entry, sizeof entry);
        const auto blob = mapClamped(d.u32(resource_data::kRva), d.u32(resource_data::kBytes));
        if (!blob) continue;
        if (!out.empty() && blob->size > left) break;
        auto bytes = Fetch(*src_, blob->offset, std::min(blob->size, left), left);
        if (!bytes) continue;
        left -= bytes->size();
        out.push_back({language, std::move(*bytes)});
        if (left == 0) break;
    }
    return out;
}

std::optional<int> CountIconGroups(const ByteSource& source) {
    const auto res = Resources::Open(source);
    if (!res) return std::nullopt;
    return res->groupCount();
}

}  // namespace icons::pe
