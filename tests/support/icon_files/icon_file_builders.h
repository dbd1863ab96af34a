#pragma once
// Writers of the files the icon reader reads: DIB and PNG images, .ico and
// .cur files, icon group directories, PE32/PE32+ and NE executables. Each
// test states its input with these and patches fields by offset to break it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pixels/bitmap.h"

namespace icon_files {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint16_t v);
void Put32(Bytes& b, std::size_t at, std::uint32_t v);
std::uint16_t Get16(const Bytes& b, std::size_t at);
std::uint32_t Get32(const Bytes& b, std::size_t at);

// ---- images ----

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

struct DibSpec {
    int width = 32;
    int height = 32;  // of the picture; the header holds twice this
    int bpp = 32;
    std::uint32_t compression = kBiRgb;
    std::vector<std::uint32_t> masks;     // with BI_BITFIELDS: written after the 40-byte header
    std::vector<pixels::Argb> palette;  // written as RGBQUADs
    std::uint32_t clrUsed = 0;
    // Stored values, top row first: palette indices (1/4/8 bits), 16-bit words,
    // 0x00RRGGBB (24 bits), 0xAARRGGBB or raw words (32 bits). Empty: all 0.
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> mask;  // top row first, 1 = transparent; empty: all 0
};
Bytes MakeDib(const DibSpec& spec);

// A DIB of one colour: 24/32 bits hold `colour` directly (32 with its alpha),
// 16 bits as 5-5-5, up to 8 bits through a palette whose entry 1 is `colour`.
DibSpec SolidDib(int width, int height, int bpp, pixels::Argb colour);

enum class PngKind { Rgba8, Rgb8, Gray8, Palette8, Rgba16, GrayAlpha8 };
// A PNG of `pixels` (width*height, top row first). Palette8 builds its palette from the pixels.
Bytes MakePng(int width, int height, const std::vector<pixels::Argb>& pixels, PngKind kind = PngKind::Rgba8);

// ---- .ico / .cur ----

struct IcoEntry {
    std::uint8_t width = 32;  // 0 means 256
    std::uint8_t height = 32;
    std::uint8_t colours = 0;
    std::uint16_t planes = 1;  // a cursor's hotspot x
    std::uint16_t bitCount = 32;  // a cursor's hotspot y
    Bytes image;
};
// Images follow the directory in entry order.
Bytes MakeIco(const std::vector<IcoEntry>& entries, std::uint16_t type = 1);
constexpr std::size_t IcoEntryOffset(std::size_t i) { return 6 + 16 * i; }

// ---- .ani (RIFF) ----

// A chunk: the four characters of `id`, the body's length, the body, and a pad byte when that is odd.
Bytes MakeChunk(const char* id, const Bytes& body);
// A LIST (or, with id "RIFF", a whole file: an animated cursor is of type "ACON") of `type` holding `chunks`.
Bytes MakeList(const char* type, const std::vector<Bytes>& chunks, const char* id = "LIST");

// ---- icon groups ----

struct GroupImage {
    std::uint16_t id = 1;  // the RT_ICON resource holding `image`
    std::uint8_t width = 32;
    std::uint8_t height = 32;
    std::uint16_t bitCount = 32;
    Bytes image;
    std::uint16_t hotspotX = 0, hotspotY = 0;  // of a cursor's image
};
// GRPICONDIR: reserved 0, type 1, count, then 14-byte entries.
Bytes MakeGroupDirectory(const std::vector<GroupImage>& images);
// The .cur file a cursor group is saved as: the hotspots in the entries, the images without them.
Bytes CursorFileOf(const std::vector<GroupImage>& images);

// ---- PE ----

struct ResName {
    std::uint32_t id = 0;
    std::u16string name;  // named when not empty
    bool named() const { return !name.empty(); }
};

struct Resource {
    ResName type;
    ResName name;
    std::uint16_t language = 0x409;
    Bytes data;
};

struct IconGroupSpec {
    ResName name;
    std::vector<GroupImage> images;
};
// RT_ICON resources for every image (ascending IDs), then one RT_GROUP_ICON per group in the given order.
std::vector<Resource> IconResources(const std::vector<IconGroupSpec>& groups);
// The same for cursors: RT_CURSOR (1), each image behind its hotspot, and RT_GROUP_CURSOR (12).
std::vector<Resource> CursorResources(const std::vector<IconGroupSpec>& groups);

struct PeSpec {
    bool pe32plus = false;
    bool dll = false;
    std::vector<Resource> resources;  // written in this order: per directory named first, then IDs
    bool resourceSection = true;      // false: no .rsrc and an empty resource data directory
    std::size_t codeBytes = 0x200;    // size of .text, to make files of realistic sizes
};

struct TypeLayout {
    ResName type;
    std::uint32_t directory = 0;               // offsets from the start of the resource tree
    std::vector<std::uint32_t> nameDirectories;  // one per name, in written order
    std::vector<std::uint32_t> dataEntries;      // the first language's data entry of each name
};

struct BuiltPe {
    Bytes bytes;
    std::size_t peOffset = 0;              // "PE\0\0"
    std::size_t optionalHeaderOffset = 0;
    std::size_t sectionTableOffset = 0;
    std::size_t resourceDataDirOffset = 0;  // the resource entry of the data directory (RVA, size)
    std::size_t treeFileOffset = 0;         // where the resource tree starts in the file
    std::uint32_t treeRva = 0;
    std::vector<TypeLayout> types;          // in written order
    const TypeLayout* type(std::uint32_t id) const;
};
BuiltPe MakePe(const PeSpec& spec);

// ---- version resource (RT_VERSION) ----

struct VersionTable {
    std::uint16_t language = 0x409;
    std::uint16_t codePage = 1200;
    std::vector<std::pair<std::u16string, std::u16string>> values;  // key, text, in this order
};

struct VersionSpec {
    bool fixedInfo = true;  // false: no VS_FIXEDFILEINFO, a value length of 0
    std::uint32_t fileVersionMs = 0x000A0000, fileVersionLs = 0x4A610001;  // 10.0.19041.1
    std::uint32_t productVersionMs = 0x000A0000, productVersionLs = 0x4A610000;
    std::vector<VersionTable> tables;  // one StringFileInfo holding these, when there are any
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;  // VarFileInfo, when there are any
};

// VS_VERSIONINFO as resource compilers write it: every block with its key, its
// value (text counted in WORDs with its NUL, as Wine's wrc counts it) and its
// children each on a 32-bit boundary, the last child unpadded.
Bytes MakeVersionResource(const VersionSpec& spec);
// Where the first block whose key is `key` starts in a version resource, for a
// test to patch its fields (length +0, value length +2, type +4); npos when none.
std::size_t VersionBlockOffset(const Bytes& resource, const std::u16string& key);
// The version resource as a PE resource: type 16, number 1.
Resource VersionResource(Bytes data, std::uint16_t language = 0x409);
// One block of any shape, for resources no compiler writes: its key, its value
// and the length field to claim for it, wType, and its children.
Bytes MakeVersionBlock(const std::u16string& key, const Bytes& value, std::uint16_t valueLength, bool text,
                       const std::vector<Bytes>& children = {});

// The English (0x409) and Chinese (0x804) tables, translations of both, and
// fixed versions 10.0.19041.1 / 10.0.19041.0: the well-formed version the
// version seeds start from.
VersionSpec TwoTableVersion();
// The version resources the tests parse and the fuzz target starts from, by
// name: well-formed ones and ones broken in one way each (a raw resource, as
// `wrestool -x --raw --type=16` writes it), and whole PE files ("pe-...").
std::vector<std::pair<std::string, Bytes>> VersionSeeds();

// ---- NE ----

struct NeResource {
    std::uint16_t type = 0x800E;  // integer types carry the high bit
    std::uint16_t id = 0x8001;
    Bytes data;
};

struct NeSpec {
    std::uint16_t alignShift = 4;
    std::vector<NeResource> resources;  // grouped by type in order of first appearance
};

struct BuiltNe {
    Bytes bytes;
    std::size_t neOffset = 0;
    std::size_t resourceTableOffset = 0;  // file offset of the alignment shift
    std::size_t tableEnd = 0;             // file offset just past the terminating zero type
};
BuiltNe MakeNe(const NeSpec& spec);

// RT_ICON (0x8003) and RT_GROUP_ICON (0x800E) resources for the groups, IDs with the high bit.
std::vector<NeResource> NeIconResources(const std::vector<std::vector<GroupImage>>& groups);
// RT_CURSOR (0x8001) and RT_GROUP_CURSOR (0x800C) resources, the groups numbered from `firstGroup`.
std::vector<NeResource> NeCursorResources(const std::vector<std::vector<GroupImage>>& groups, std::uint16_t firstGroup = 1);

}  // namespace icon_files
