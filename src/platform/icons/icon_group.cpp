#include "icon_group.h"

namespace platform::icons {

std::vector<ImageRef> ReadGroupDirectory(
    ByteView group, const std::function<std::optional<Blob>(std::uint16_t id, std::uint32_t bytes)>& resolve) {
    std::vector<ImageRef> images;
    // Reserved 0, type 1 (icons; a cursor group is type 2 and is no icon).
    if (group.u16(0) != 0 || group.u16(2) != 1 || group.failed()) return images;
    std::size_t count = group.u16(4);
    const std::size_t fits = (group.size() - 6) / 14;
    if (count > fits) count = fits;
    if (count > kMaxGroupEntries) count = kMaxGroupEntries;
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ByteView e = group.sub(6 + 14 * i, 14);
        const auto blob = resolve(e.u16(12), e.u32(8));
        if (!blob || e.failed()) continue;
        ImageRef ref{*blob, DirectorySide(e.u8(0)), DirectorySide(e.u8(1)), e.u16(6)};
        ref.colours = e.u8(2);
        ref.planes = e.u16(4);
        ref.bitCount = e.u16(6);
        images.push_back(ref);
    }
    return images;
}

Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header) {
    if (header) return {header->width, header->height, header->depth};
    return {ref.dirWidth, ref.dirHeight, ref.dirDepth};
}

}  // namespace platform::icons
