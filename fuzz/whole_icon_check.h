#pragma once
// The whole-icon paths of one icon, shared by the container targets: describe
// it, decode each image and encode it as PNG, write the group as an .ico and
// read that back. The file written must hold the same images as the icon it
// came from; anything else is a finding.
#include <cstdlib>
#include <vector>

#include "icons/chooser.h"
#include "icons/icon_file.h"
#include "icons/whole_icon.h"

inline void CheckWholeIcon(const icons::IconFile& file, int index) {
    using namespace icons;
    // A hostile group may list a thousand images; a few show the paths.
    constexpr int kImagesDecoded = 4;
    const auto described = file.describe(index);
    const auto bytes = file.fileBytes(index);
    if (!described) {
        if (bytes) std::abort();  // written out, yet not there to describe
        return;
    }
    // At another size the group draws an image of that size, or none exactly
    // when the description marks none shown at that size.
    constexpr int kOtherSize = 48;
    const auto sized = file.extract(index, kOtherSize);
    const auto sizedDescription = file.describe(index, kOtherSize);
    if (!sizedDescription || sized.has_value() != (sizedDescription->shown >= 0) ||
        (sized && (sized->width != kOtherSize || sized->height != kOtherSize ||
                   sized->color.size() != static_cast<std::size_t>(kOtherSize * kOtherSize))))
        std::abort();
    const int decoded = std::min<int>(kImagesDecoded, static_cast<int>(described->images.size()));
    for (int k = 0; k < decoded; ++k) {
        if (const auto image = file.decode(index, k)) (void)EncodePng(*image);
    }
    if (!bytes) return;
    const MemorySource written(bytes->data(), bytes->size());
    const IconFile reread(written);
    const auto again = reread.describe(0);
    // A program's cursor is written as a .cur, its icons as .ico files.
    if (reread.count() != 1 || !again || again->images.size() != described->images.size() ||
        again->cursor != described->cursor)
        std::abort();
    // The .ico is chosen from by its images' headers, an executable's group by
    // its directory where that holds: the same image shows wherever the
    // headers would have chosen it in the group too.
    std::vector<Candidate> headers;
    for (const ImageDescription& d : described->images) headers.push_back({d.width, d.height, d.depth});
    if (ChooseImage(headers, kStandardIconSize) == described->shown && again->shown != described->shown) std::abort();
    for (std::size_t k = 0; k < described->images.size(); ++k) {
        const ImageDescription& a = described->images[k];
        const ImageDescription& b = again->images[k];
        // A cursor group's directory has room for sizes a .cur's has not, and
        // a .cur's holds the hotspot where an .ico's holds the depth: of a
        // cursor image whose own header cannot be read, only the bytes are
        // kept. (Only the first images are decoded, to know: past them a
        // cursor's size and depth go unchecked.)
        const bool headerKept =
            !described->cursor || (static_cast<int>(k) < decoded && file.decode(index, static_cast<int>(k)));
        if ((headerKept && (a.width != b.width || a.height != b.height || a.depth != b.depth)) || a.png != b.png ||
            a.bytes != b.bytes)
            std::abort();
    }
    for (int k = 0; k < decoded; ++k) {
        const auto a = file.decode(index, k);
        const auto b = reread.decode(0, k);
        if (a.has_value() != b.has_value() || (a && (a->pixels != b->pixels || a->inverted != b->inverted)))
            std::abort();
    }
}
