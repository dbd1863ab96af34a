#include "icons.h"

#include "ico_reader.h"
#include "ne_reader.h"
#include "pe_reader.h"
#include "stretch.h"

namespace platform::icons {
namespace {

// Images of a group that fail to decode are passed over for the next best,
// but a group made only of broken images must not cost a decode per entry.
constexpr int kMaxDecodeAttempts = 16;

std::vector<ImageRef> ImagesOf(const ByteSource& source, int index) {
    if (pe::IsPe(source)) return pe::IconGroupImages(source, index);
    if (ne::IsNe(source)) return ne::IconGroupImages(source, index);
    if (index == 0 && ico::IsIco(source)) return ico::Images(source);
    return {};
}

}  // namespace

int CountIcons(const ByteSource& source) {
    if (auto n = pe::CountIconGroups(source)) return *n;
    if (auto n = ne::CountIconGroups(source)) return *n;
    if (auto n = ico::CountIcons(source)) return *n;
    return 0;
}

std::optional<Icon> ExtractIcon(const ByteSource& source, int index) {
    if (index < 0) return std::nullopt;
    std::vector<ImageRef> refs = ImagesOf(source, index);
    std::vector<Candidate> candidates;
    candidates.reserve(refs.size());
    for (const ImageRef& r : refs) candidates.push_back(CandidateFor(r, ProbeImage(source, r.blob)));

    for (int attempt = 0; attempt < kMaxDecodeAttempts && !candidates.empty(); ++attempt) {
        const int pick = ChooseImage(candidates, kStandardIconSize);
        if (auto image = DecodeImage(source, refs[static_cast<std::size_t>(pick)].blob)) {
            return StretchIcon(*image, kStandardIconSize, kStandardIconSize);
        }
        refs.erase(refs.begin() + pick);
        candidates.erase(candidates.begin() + pick);
    }
    return std::nullopt;
}

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
