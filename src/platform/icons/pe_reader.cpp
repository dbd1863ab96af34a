#include "pe_reader.h"

#include <algorithm>
#include <cstring>

namespace platform::icons::pe {
namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

struct DirEntry {
    std::uint32_t name = 0;
    std::uint32_t target = 0;
    bool named() const { return (name & kSubdirectoryBit) != 0; }
    bool subdirectory() const { return (target & kSubdirectoryBit) != 0; }
    std::uint32_t offset() const { return target & ~kSubdirectoryBit; }
};

struct Directory {
    std::uint32_t offset = 0;  // from the start of the resource tree
    std::uint64_t entriesAt = 0;  // file offset of the first entry
    std::uint32_t named = 0;
    std::uint32_t ids = 0;
    std::uint32_t count() const { return named + ids; }
};

std::optional<std::uint32_t> PeHeaderOffset(const ByteSource& src) {
    std::array<std::uint8_t, 64> dos{};
    if (!ReadBytes(src, 0, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint32_t at = Le32(&dos[0x3C]);
    std::array<std::uint8_t, 4> sig{};
    if (!ReadBytes(src, at, sig) || std::memcmp(sig.data(), "PE\0\0", 4) != 0) return std::nullopt;
    return at;
}

// The parsed headers: where the resource tree is and how to map its addresses to the file.
class Image {
public:
    static std::optional<Image> Open(const ByteSource& src, std::uint32_t peAt) {
        std::array<std::uint8_t, 24> coff{};  // signature + file header
        if (!ReadBytes(src, peAt, coff)) return std::nullopt;
        const std::uint16_t sectionCount = Le16(&coff[6]);
        const std::uint16_t optionalSize = Le16(&coff[20]);
        const std::uint64_t optionalAt = static_cast<std::uint64_t>(peAt) + 24;

        std::array<std::uint8_t, 2> magicBytes{};
        if (!ReadBytes(src, optionalAt, magicBytes)) return std::nullopt;
        const std::uint16_t magic = Le16(magicBytes.data());
        std::uint32_t dirCountAt = 0;
        if (magic == kMagicPe32) dirCountAt = 92;
        else if (magic == kMagicPe32Plus) dirCountAt = 108;
        else return std::nullopt;

        Image image(src);
        const std::uint32_t resourceEntryAt = dirCountAt + 4 + 8 * kResourceDirectory;
        if (optionalSize < resourceEntryAt + 8) return image;  // no room for a resource entry
        std::array<std::uint8_t, 4> dirCount{};
        std::array<std::uint8_t, 8> resource{};
        if (!ReadBytes(src, optionalAt + dirCountAt, dirCount) ||
            !ReadBytes(src, optionalAt + resourceEntryAt, resource))
            return std::nullopt;
        if (Le32(dirCount.data()) <= kResourceDirectory) return image;
        image.resourceRva_ = Le32(&resource[0]);
        if (image.resourceRva_ == 0 || Le32(&resource[4]) == 0) return image;

        if (sectionCount == 0 || sectionCount > kMaxSections) return std::nullopt;
        std::vector<std::uint8_t> table(static_cast<std::size_t>(sectionCount) * 40);
        if (!src.read(optionalAt + optionalSize, table.data(), table.size())) return std::nullopt;
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::uint8_t* s = &table[i * 40];
            image.sections_.push_back({Le32(&s[12]), Le32(&s[8]), Le32(&s[16]), Le32(&s[20])});
        }
        image.hasResources_ = true;
        return image;
    }

    bool hasResources() const { return hasResources_; }

    // File offset of `length` bytes at the address; nullopt unless they all lie in one section's file data.
    std::optional<std::uint64_t> map(std::uint64_t rva, std::uint64_t length) const {
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
    std::optional<Blob> mapClamped(std::uint64_t rva, std::uint64_t length) const {
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

    std::optional<Directory> directory(std::uint32_t offset) const {
        const auto at = map(static_cast<std::uint64_t>(resourceRva_) + offset, 16);
        std::array<std::uint8_t, 16> d{};
        if (!at || !ReadBytes(*src_, *at, d)) return std::nullopt;
        Directory dir{offset, *at + 16, Le16(&d[12]), Le16(&d[14])};
        // The entry table must be there in full, or the directory is not trusted at all.
        if (!map(static_cast<std::uint64_t>(resourceRva_) + offset + 16, 8ull * dir.count())) return std::nullopt;
        return dir;
    }

    std::optional<DirEntry> entry(const Directory& dir, std::uint32_t i) const {
        std::array<std::uint8_t, 8> e{};
        if (i >= dir.count() || !ReadBytes(*src_, dir.entriesAt + 8ull * i, e)) return std::nullopt;
        return DirEntry{Le32(&e[0]), Le32(&e[4])};
    }

    // The type directory with numeric ID `type` below the root.
    std::optional<Directory> typeDirectory(std::uint32_t type) const {
        const auto root = directory(0);
        if (!root) return std::nullopt;
        for (std::uint32_t i = root->named; i < root->count(); ++i) {
            const auto e = entry(*root, i);
            if (!e) return std::nullopt;
            if (e->named() || e->name != type) continue;
            // A type that points back at the root would loop forever in a tree walk.
            if (!e->subdirectory() || e->offset() == 0) return std::nullopt;
            return directory(e->offset());
        }
        return std::nullopt;
    }

    // The data of the first language under a name entry of `typeDir`.
    std::optional<Blob> firstLanguageData(const Directory& typeDir, const DirEntry& nameEntry) const {
        if (!nameEntry.subdirectory()) return std::nullopt;
        const std::uint32_t nameAt = nameEntry.offset();
        // Each level must be new on this path: a directory that is its own ancestor is a loop.
        const std::uint32_t visited[] = {0, typeDir.offset};
        if (std::find(std::begin(visited), std::end(visited), nameAt) != std::end(visited)) return std::nullopt;
        const auto nameDir = directory(nameAt);
        if (!nameDir || nameDir->count() == 0) return std::nullopt;
        const auto lang = entry(*nameDir, 0);
        if (!lang || lang->subdirectory()) return std::nullopt;
        const auto at = map(static_cast<std::uint64_t>(resourceRva_) + lang->offset(), 16);
        std::array<std::uint8_t, 16> data{};
        if (!at || !ReadBytes(*src_, *at, data)) return std::nullopt;
        return mapClamped(Le32(&data[0]), Le32(&data[4]));
    }

private:
    explicit Image(const ByteSource& src) : src_(&src) {}

    const ByteSource* src_;
    bool hasResources_ = false;
    std::uint32_t resourceRva_ = 0;
    std::vector<Section> sections_;
};

}  // namespace

bool IsPe(const ByteSource& source) { return PeHeaderOffset(source).has_value(); }

std::optional<int> CountIconGroups(const ByteSource& source) {
    const auto peAt = PeHeaderOffset(source);
    if (!peAt) return std::nullopt;
    const auto image = Image::Open(source, *peAt);
    if (!image || !image->hasResources()) return 0;
    const auto groups = image->typeDirectory(kRtGroupIcon);
    if (!groups) return 0;
    return static_cast<int>(groups->count());
}

std::vector<ImageRef> IconGroupImages(const ByteSource& source, int index) {
    const auto peAt = PeHeaderOffset(source);
    if (!peAt || index < 0) return {};
    const auto image = Image::Open(source, *peAt);
    if (!image || !image->hasResources()) return {};
    const auto groups = image->typeDirectory(kRtGroupIcon);
    if (!groups) return {};
    const auto groupEntry = image->entry(*groups, static_cast<std::uint32_t>(index));
    if (!groupEntry) return {};
    const auto groupData = image->firstLanguageData(*groups, *groupEntry);
    if (!groupData) return {};

    const auto icons = image->typeDirectory(kRtIcon);
    if (!icons) return {};
    // Numbered RT_ICON entries, sorted so each lookup is a binary search even
    // when the file did not keep them in order; equal IDs keep their file order.
    std::vector<std::pair<std::uint16_t, DirEntry>> byId;
    byId.reserve(icons->ids);
    for (std::uint32_t i = icons->named; i < icons->count(); ++i) {
        const auto e = image->entry(*icons, i);
        if (!e) return {};
        if (e->name <= 0xFFFF) byId.emplace_back(static_cast<std::uint16_t>(e->name), *e);
    }
    std::stable_sort(byId.begin(), byId.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    return ReadGroupDirectory(source, *groupData, [&](std::uint16_t id) -> std::optional<Blob> {
        const auto it = std::lower_bound(byId.begin(), byId.end(), id,
                                         [](const auto& a, std::uint16_t v) { return a.first < v; });
        if (it == byId.end() || it->first != id) return std::nullopt;
        return image->firstLanguageData(*icons, it->second);
    });
}

}  // namespace platform::icons::pe
