// One image on its own (DIB or PNG): header probe, decode, stretch and draw.
// Input the reader cannot take must come back as nullopt; what it does take
// must keep the reader's promises, and a broken one aborts with its name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "icons/image_decoder.h"
#include "icons/stretch.h"

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_image: %s\n", what);
    std::abort();
}

using icons::kMaxDibSide;
using icons::kMaxPngSide;
// A decoded image no longer says which it was.
constexpr int kMaxSide = kMaxPngSide > kMaxDibSide ? kMaxPngSide : kMaxDibSide;

bool WithinCaps(int width, int height, bool png) {
    const int cap = png ? kMaxPngSide : kMaxDibSide;
    return width >= 1 && height >= 1 && width <= cap && height <= cap;
}

// Every pixel of the icon is present, in the layout the drawing reads.
bool WellFormed(const icons::Icon& icon) {
    const std::size_t pixels = static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height);
    return icon.color.size() == pixels && (icon.blended || icon.mask.size() == pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    const MemorySource source(data, size);
    const Blob blob{0, size};
    const auto probed = ProbeImage(source, blob);
    if (probed) Check(WithinCaps(probed->width, probed->height, probed->png), "probed size past the caps");
    const auto image = DecodeImage(source, blob);
    if (!image) return 0;
    Check(image->width >= 1 && image->height >= 1 && image->width <= kMaxSide && image->height <= kMaxSide,
          "decoded size past the caps");
    Check(WellFormed(*image), "decoded pixels do not match the decoded size");
    if (probed)
        Check(probed->width == image->width && probed->height == image->height, "probe and decode disagree on size");

    pixels::Bitmap clipped(40, 40, pixels::MakeArgb(0, 0, 128));
    DrawIcon(clipped, -3, 5, *image);

    // Drawn on two backgrounds, a cell's opaque pixels come out the same:
    // one that differs was never written.
    const Icon cell = StretchIcon(*image, kStandardIconSize, kStandardIconSize);
    Check(cell.width == kStandardIconSize && cell.height == kStandardIconSize && WellFormed(cell),
          "the stretch is not a whole cell");
    pixels::Bitmap dark(kStandardIconSize, kStandardIconSize, pixels::MakeArgb(0, 0, 128));
    pixels::Bitmap light(kStandardIconSize, kStandardIconSize, pixels::MakeArgb(255, 240, 16));
    DrawIcon(dark, 0, 0, cell);
    DrawIcon(light, 0, 0, cell);
    for (int y = 0; y < kStandardIconSize; ++y)
        for (int x = 0; x < kStandardIconSize; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kStandardIconSize + static_cast<std::size_t>(x);
            const bool opaque = cell.blended ? pixels::AlphaOf(cell.color[i]) == 255 : cell.mask[i] == 0;
            if (opaque) Check(dark.at(x, y) == light.at(x, y), "an opaque pixel of the cell was not drawn");
        }
    return 0;
}
