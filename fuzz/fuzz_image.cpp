// One image on its own (DIB or PNG): header probe, decode, stretch and draw.
#include <cstddef>
#include <cstdint>

#include "icons/image_decoder.h"
#include "icons/stretch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    const MemorySource source(data, size);
    const Blob blob{0, size};
    (void)ProbeImage(source, blob);
    if (auto image = DecodeImage(source, blob)) {
        pixels::Bitmap cell(40, 40, pixels::MakeArgb(0, 0, 128));
        DrawIcon(cell, -3, 5, *image);
        DrawIcon(cell, 0, 0, StretchIcon(*image, kStandardIconSize, kStandardIconSize));
    }
    return 0;
}
