#include "icon_group.h"

#include "ico_format.h"

namespace icons {
namespace {

// The entries a group's directory of `type` holds, as far as its bytes and the cap allow; 0 when it is none.
std::size_t EntryCount(ByteView group, std::uint16_t type) {
    // An icon group is no cursor group, nor the other way round.
    if (group.u16(ico::dir::kReserved) != 0 || group.u16(ico::dir::kType) != type || group.failed()) return 0;
    std::size_t count = group.u16(ico::dir::kCount);
    const std::size_t fits = (group.size() - ico::dir::kSize) / ico::group_entry::kSize;
    if (count > fits) count = fits;
    if (count > kMaxGroupEntries) count = kMaxGroupEntries;
    return count;
}

}  // namespace

std::vector<ImageRef> ReadGroupDirectory(ByteView group, const ResolveImage& resolve) {
    std::vector<ImageRef> images;
    const std::size_t count = EntryCount(group, ico::kTypeIcon);
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

std::vector<ImageRef> ReadCursorGroupDirectory(ByteView group, const ByteSource& source, const ResolveImage& resolve) {
    std::vector<ImageRef> images;
    const std::size_t count = EntryCount(group, ico::kTypeCursor);
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        namespace field = ico::cursor_group_entry;
        namespace res = ico::cursor_resource;
        const ByteView e = group.sub(ico::dir::kSize + field::kSize * i, field::kSize);
        const auto blob = resolve(e.u16(field::kId), e.u32(field::kImageBytes));
        if (!blob || e.failed() || blob->size <= res::kImage) continue;
        std::uint8_t hotspot[res::kImage];
        if (!source.read(blob->offset, hotspot, sizeof hotspot)) continue;
        const ByteView h(hotspot, sizeof hotspot);
        // The directory counts the mask in the height, as the DIB's own header does.
        ImageRef ref{{blob->offset + res::kImage, blob->size - res::kImage},
                     e.u16(field::kWidth),
                     e.u16(field::kHeight) / 2,
                     e.u16(field::kBitCount)};
        ref.planes = h.u16(res::kHotspotX);
        ref.bitCount = h.u16(res::kHotspotY);
        images.push_back(ref);
    }
    return images;
}

Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header) {
    if (header) return {header->width, header->height, header->depth};
    return {ref.dirWidth, ref.dirHeight, ref.dirDepth};
}

}  // namespace icons
