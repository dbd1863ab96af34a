// Animated cursors: the frames counted, and the first few drawn as a cell and
// taken through the whole-icon paths, as the window, tessel-iconinfo and the
// thumbnailer take them.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "icons/icons.h"
#include "whole_icon_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    // A hostile file may hold thousands of frames; a few show the paths.
    constexpr int kFramesChecked = 4;
    const MemorySource memory(data, size);
    const BufferedSource source(memory, 512);
    const IconFile file(source);
    pixels::Bitmap cell(32, 32, pixels::MakeArgb(255, 255, 255));
    for (int k = 0; k < std::min(file.count(), kFramesChecked); ++k) {
        if (auto icon = file.extract(k)) DrawIcon(cell, 0, 0, *icon);
        CheckWholeIcon(file, k);
    }
    return 0;
}
