#include "icon_group.h"

namespace platform::icons {

std::vector<ImageRef> ReadGroupDirectory(const ByteSource& source, Blob group,
                                         const std::function<std::optional<Blob>(std::uint16_t)>& resolve) {
    std::vector<ImageRef> images;
    std::array<std::uint8_t, 6> head{};
    if (group.size < head.size() || !ReadBytes(source, group.offset, head)) return images;
    // Reserved 0, type 1 (icons; a cursor group is type 2 and is no icon).
    if (Le16(&head[0]) != 0 || Le16(&head[2]) != 1) return images;
    std::size_t count = Le16(&head[4]);
    const std::uint64_t fits = (group.size - 6) / 14;
    if (count > fits) count = static_cast<std::size_t>(fits);
    if (count > kMaxGroupEntries) count = kMaxGroupEntries;
    if (count == 0) return images;

    std::vector<std::uint8_t> table(count * 14);
    if (!source.read(group.offset + 6, table.data(), table.size())) return images;
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &table[i * 14];
        const auto blob = resolve(Le16(&e[12]));
        if (!blob) continue;
        images.push_back({*blob, DirectorySide(e[0]), DirectorySide(e[1]), Le16(&e[6])});
    }
    return images;
}

Candidate CandidateFor(const ImageRef& ref, const std::optional<ImageInfo>& header) {
    if (header) return {header->width, header->height, header->depth};
    return {ref.dirWidth, ref.dirHeight, ref.dirDepth};
}

}  // namespace platform::icons
