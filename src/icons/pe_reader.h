#pragma once
// Icon groups in the resource tree of a PE32 or PE32+ executable or library.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace icons::pe {

constexpr std::uint32_t kRtCursor = 1;
constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupCursor = 12;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kRtVersion = 16;
// The number Windows' version functions look the version resource up by (VS_VERSION_INFO).
constexpr std::uint32_t kVersionInfoId = 1;
// Older loaders refuse images with more sections than this, so no real icon
// library has more; the cap bounds what one file can make us read.
constexpr std::size_t kMaxSections = 96;

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

// One directory of the resource tree: its place and its entries, read at once.
struct Directory {
    std::uint32_t offset = 0;  // from the start of the resource tree
    std::uint32_t named = 0;
    std::uint32_t ids = 0;
    std::uint32_t count() const { return named + ids; }
};

// A PE file's icon resources. Opening reads the headers and the tree down to
// the icon types once; each group then costs its own few reads, whatever the
// size of the tree.
class Resources {
public:
    // nullopt when this is not a PE file; a PE file with no usable resource
    // tree opens with no groups. With `cursors`, its cursor groups count too,
    // after its icon groups.
    static std::optional<Resources> Open(const ByteSource& source, bool cursors = false);

    // Entries (named and numbered) of the RT_GROUP_ICON directory, then of RT_GROUP_CURSOR's when asked for.
    int groupCount() const { return icons_.count() + cursors_.count(); }
    // The index-th of those entries (directory order, first language), its
    // images resolved through RT_ICON or RT_CURSOR; nullopt when there is no such group.
    std::optional<RawGroup> group(int index) const;

    // One language of a resource, read.
    struct Translated {
        std::uint32_t language = 0;
        Bytes bytes;
    };
    // The languages of a resource of type `type`, in directory order: the one
    // numbered `preferredId` when there is one, else the type's first entry
    // (named ones come first). Found through the same tree walk as the groups.
    // At most `maxLanguages` of them and `cap` bytes in all: the first is cut
    // at `cap`, a later one is read only whole and while it fits. Empty when
    // there is none or the tree is malformed on the way.
    std::vector<Translated> resourceLanguages(std::uint32_t type, std::uint64_t cap, std::size_t maxLanguages,
                                              std::uint32_t preferredId = kVersionInfoId) const;

private:
    explicit Resources(const ByteSource& source) : src_(&source) {}

    std::optional<std::uint64_t> map(std::uint64_t rva, std::uint64_t length) const;
    std::optional<Blob> mapClamped(std::uint64_t rva, std::uint64_t length) const;
    std::optional<Directory> directory(std::uint32_t offset) const;
    std::optional<Bytes> entries(const Directory& dir) const;
    std::optional<Directory> typeDirectory(std::uint32_t type) const;
    std::optional<Blob> firstLanguageData(const Directory& typeDir, std::uint32_t target) const;
    std::string nameOf(std::uint32_t name) const;

    // The groups of one kind, and the resources that hold their images.
    struct Kind {
        explicit Kind(std::uint32_t type) : imageType(type) {}
        std::uint32_t imageType;
        std::optional<Directory> groups;
        // Read on first use: counting needs neither.
        mutable std::optional<Bytes> groupEntries;
        mutable std::optional<Directory> images;
        mutable bool imagesLoaded = false;
        // Numbered image entries (id, target), sorted so each lookup is a binary
        // search even when the file did not keep them in order.
        mutable std::vector<std::pair<std::uint16_t, std::uint32_t>> imageIds;
        int count() const { return groups ? static_cast<int>(groups->count()) : 0; }
    };
    bool loadImageIds(const Kind& kind) const;
    std::optional<Blob> image(const Kind& kind, std::uint16_t id) const;
    // The bytes at a file offset: from the tree's first bytes when they are there, else read.
    std::optional<Bytes> read(std::uint64_t at, std::uint64_t length) const;
    // The same into a field-sized buffer of the caller's; false when it cannot be read.
    bool readInto(std::uint64_t at, std::uint8_t* dst, std::size_t length) const;
    bool inTreeHead(std::uint64_t at, std::uint64_t length) const;
    void readTreeHead(const Kind& kind, int index, std::uint32_t target) const;

    const ByteSource* src_;
    std::uint32_t resourceRva_ = 0;
    std::vector<Section> sections_;
    Kind icons_{kRtIcon};
    Kind cursors_{kRtCursor};
    // The start of the resource tree, read at once with the first group:
    // compilers put every directory and data entry before the data, so each
    // image's lookup then costs no read of its own.
    mutable Bytes treeHead_;
    mutable std::uint64_t treeAt_ = 0;
    mutable int groupsRead_ = 0;
};

// Entries of the RT_GROUP_ICON directory; 0 when there is none or the headers
// or tree are malformed; nullopt when this is not a PE file.
std::optional<int> CountIconGroups(const ByteSource& source);

}  // namespace icons::pe
