#pragma once
// An icon group as the containers describe it: the images it lists, in its
// order, with what its directory says about each.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "blob.h"
#include "byte_view.h"
#include "chooser.h"
#include "ico_format.h"
#include "image_decoder.h"

namespace icons {

// More images than this in one group is no real icon; it only costs time.
constexpr std::size_t kMaxGroupEntries = 1024;
// A group's directory and its entries, as far as the cap reads them.
constexpr std::uint64_t kMaxGroupBytes = ico::dir::kSize + ico::group_entry::kSize * kMaxGroupEntries;

struct ImageRef {
    Blob blob;          // where the image's bytes are, exactly as many as it has
    int dirWidth = 0;   // as the directory says, 0 already turned into 256
    int dirHeight = 0;
    int dirDepth = 0;
    // The directory's own fields, kept for writing the group back out.
    std::uint8_t colours = 0;
    std::uint16_t planes = 0;    // a cursor's hotspot x
    std::uint16_t bitCount = 0;  // a cursor's hotspot y
};



// One icon of a file: its name and its images that resolve, in group order.
struct RawGroup {
    std::string name;     // the resource's name or number; empty for an .ico or .cur file
    bool cursor = false;  // a .cur file, or a program's cursor group
    std::vector<ImageRef> images;
};

// A directory width or height byte: 0 stands for 256.
inline int DirectorySide(std::uint8_t b) { return b == 0 ? 256 : b; }

// The group's images as its directory lists them (GRPICONDIR with 14-byte
// entries naming each image by resource ID). `resolve` turns an entry's ID and
// its byte count into the resource's bytes; an ID that does not resolve is left
// out. Empty when the bytes are not a group of that kind. A cursor's resource
// opens with its hotspot, which goes into the reference's planes and bit
// count as a .cur file keeps it; its blob is the image after it.
using ResolveImage = std::function<std::optional<Blob>(std::uint16_t id, std::uint32_t bytes)>;
std::vector<ImageRef> ReadGroupDirectory(ByteView group, const ResolveImage& resolve);
// The same for a cursor group, whose resources are read from `source` for their hotspots.
std::vector<ImageRef> ReadCursorGroupDirectory(ByteView group, const ByteSource& source, const ResolveImage& resolve);

// What to choose by: the image's own header when it has one, else the directory's claim.
Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header);

}  // namespace icons
