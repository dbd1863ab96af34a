#pragma once
// An icon group as the containers describe it: the images it lists, in its
// order, with what its directory claims about each.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "chooser.h"
#include "image_decoder.h"
#include "le.h"

namespace platform::icons {

// More images than this in one group is no real icon; it only costs time.
constexpr std::size_t kMaxGroupEntries = 1024;

struct ImageRef {
    Blob blob;          // where the image's bytes are
    int dirWidth = 0;   // as the directory says, 0 already turned into 256
    int dirHeight = 0;
    int dirDepth = 0;
};

// A directory width or height byte: 0 stands for 256.
inline int DirectorySide(std::uint8_t b) { return b == 0 ? 256 : b; }

// The group's images as its directory lists them (GRPICONDIR with 14-byte
// entries naming each image by resource ID). `resolve` turns an ID into the
// image's bytes; an ID that does not resolve is left out. Empty when the
// directory is not an icon group.
std::vector<ImageRef> ReadGroupDirectory(const ByteSource& source, Blob group,
                                         const std::function<std::optional<Blob>(std::uint16_t)>& resolve);

// What to choose by: the image's own header when it has one, else the directory's claim.
Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header);

}  // namespace platform::icons
