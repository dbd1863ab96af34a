#include "icons.h"

#include "icon_file.h"

namespace platform::icons {

int CountIcons(const ByteSource& source) { return IconFile(source).count(); }

std::optional<Icon> ExtractIcon(const ByteSource& source, int index) { return IconFile(source).extract(index); }

int CountIconsInFile(const std::string& path) {
    const FileSource file(path);
    return file.ok() ? CountIcons(BufferedSource(file)) : 0;
}

std::optional<Icon> ExtractIconFromFile(const std::string& path, int index) {
    const FileSource file(path);
    if (!file.ok()) return std::nullopt;
    return ExtractIcon(BufferedSource(file), index);
}

void DrawIcon(platform::Bitmap& target, int x, int y, const Icon& icon) {
    const std::size_t expected = static_cast<std::size_t>(icon.width > 0 ? icon.width : 0) *
                                 static_cast<std::size_t>(icon.height > 0 ? icon.height : 0);
    if (icon.color.size() < expected || (!icon.blended && icon.mask.size() < expected)) return;
    for (int iy = 0; iy < icon.height; ++iy) {
        const long ty = static_cast<long>(y) + iy;
        if (ty < 0 || ty >= target.height) continue;
        for (int ix = 0; ix < icon.width; ++ix) {
            const long tx = static_cast<long>(x) + ix;
            if (tx < 0 || tx >= target.width) continue;
            const std::size_t i = static_cast<std::size_t>(iy) * icon.width + ix;
            platform::Argb& dst = target.at(static_cast<int>(tx), static_cast<int>(ty));
            const platform::Argb src = icon.color[i];
            if (icon.blended) {
                const int a = platform::AlphaOf(src);
                const auto mix = [a](int s, int d) { return (s * a + d * (255 - a) + 127) / 255; };
                const int outA = a + (platform::AlphaOf(dst) * (255 - a) + 127) / 255;
                dst = platform::MakeArgb(mix(platform::RedOf(src), platform::RedOf(dst)),
                                         mix(platform::GreenOf(src), platform::GreenOf(dst)),
                                         mix(platform::BlueOf(src), platform::BlueOf(dst)), outA);
            } else {
                // The AND mask keeps the background where it is 1 and clears it where it is 0;
                // the colour is then XORed in, which inverts where both are set.
                const platform::Argb kept = icon.mask[i] ? (dst & 0x00FFFFFFu) : 0u;
                dst = (dst & 0xFF000000u) | (kept ^ (src & 0x00FFFFFFu));
            }
        }
    }
}

}  // namespace platform::icons
