#include "icon_group.h"

#include "ico_format.h"

namespace icons {

std::vector<ImageRef> ReadGroupDirectory(
    ByteView group, const std::function<std::optional<Blob>(std::uint16_t id, std::uint32_t bytes)>& resolve) {
    std::vector<ImageRef> images;
    // A cursor group is no icon.
    if (group.u16(ico::dir::kReserved) != 0 || group.u16(ico::dir::kType) != ico::kTypeIcon || group.failed())
        return images;
    std::size_t count = group.u16(ico::dir::kCount);
    const std::size_t fits = (group.size() - ico::dir::kSize) / ico::group_entry::kSize;
    if (count > fits) count = fits;
    if (count > kMaxGroupEntries) count = kMaxGroupEntries;
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        namespace field = ico::group_entry;
        const ByteView e = group.sub(ico::dir::kSize + field::kSize * i, field::kSize);
        const auto blob = resolve(e.u16(field::kId), e.u32(field::kImageBytes));
        if (!blob || e.failed()) continue;
        ImageRef ref{*blob, DirectorySide(e.u8(field::kWidth)), DirectorySide(e.u8(field::kHeight)),
                     e.u16(field::kBitCount)};
        ref.colours = e.u8(field::kColours);
        ref.planes = e.u16(field::kPlanes);
        ref.bitCount = e.u16(field::kBitCount);
        images.push_back(ref);
    }
    return images;
}

Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header) {
    if (header) return {header->width, header->height, header->depth};
    return {ref.dirWidth, ref.dirHeight, ref.dirDepth};
}

}  // namespace icons
