#include "icons.h"

#include <algorithm>

#include "icon_file.h"
#include "system_resources.h"

namespace icons {

int CountIcons(const ByteSource& source) { return IconFile(source).count(); }

std::optional<Icon> ExtractIcon(const ByteSource& source, int index, int size) {
    return IconFile(source).extract(index, size);
}

int CountIconsInFile(const std::string& path, OpenOptions options) {
    const IconFileAt file(path, options);
    return file.ok() ? file.icons().count() : 0;
}

std::optional<Icon> ExtractIconFromFile(const std::string& path, int index, int size, OpenOptions options) {
    const IconFileAt file(path, options);
    if (!file.ok()) return std::nullopt;
    return file.icons().extract(index, size);
}

void DrawIcon(pixels::Bitmap& target, int x, int y, const Icon& icon) {
    const std::size_t expected = static_cast<std::size_t>(icon.width > 0 ? icon.width : 0) *
                                 static_cast<std::size_t>(icon.height > 0 ? icon.height : 0);
    if (icon.color.size() < expected || (!icon.blended && icon.mask.size() < expected)) return;
    // The part of the icon that lands on the target, worked out once rather than per pixel.
    const long firstX = std::max(0L, -static_cast<long>(x));
    const long endX = std::min(static_cast<long>(icon.width), static_cast<long>(target.width) - x);
    const long firstY = std::max(0L, -static_cast<long>(y));
    const long endY = std::min(static_cast<long>(icon.height), static_cast<long>(target.height) - y);
    if (firstX >= endX) return;
    for (long iy = firstY; iy < endY; ++iy) {
        const std::size_t row = static_cast<std::size_t>(iy) * static_cast<std::size_t>(icon.width);
        pixels::Argb* out = &target.at(static_cast<int>(x + firstX), static_cast<int>(y + iy));
        for (long ix = firstX; ix < endX; ++ix, ++out) {
            const std::size_t i = row + static_cast<std::size_t>(ix);
            pixels::Argb& dst = *out;
            const pixels::Argb src = icon.color[i];
            if (icon.blended) {
                const int a = pixels::AlphaOf(src);
                // Most pixels are wholly opaque or wholly clear, where the blend
                // below gives the source or leaves the target as it is.
                if (a == 255) {
                    dst = src;
                    continue;
                }
                if (a == 0) continue;
                const auto mix = [a](int s, int d) { return (s * a + d * (255 - a) + 127) / 255; };
                const int outA = a + (pixels::AlphaOf(dst) * (255 - a) + 127) / 255;
                dst = pixels::MakeArgb(mix(pixels::RedOf(src), pixels::RedOf(dst)),
                                         mix(pixels::GreenOf(src), pixels::GreenOf(dst)),
                                         mix(pixels::BlueOf(src), pixels::BlueOf(dst)), outA);
            } else {
                // The AND mask keeps the background where it is 1 and clears it where it is 0;
                // the colour is then XORed in, which inverts where both are set.
                const pixels::Argb kept = icon.mask[i] ? (dst & 0x00FFFFFFu) : 0u;
                dst = (dst & 0xFF000000u) | (kept ^ (src & 0x00FFFFFFu));
            }
        }
    }
}

}  // namespace icons
