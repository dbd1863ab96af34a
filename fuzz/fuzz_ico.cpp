// .ico and .cur files: the count, the one icon drawn, and the whole icon
// described, decoded and written back out.
#include <cstddef>
#include <cstdint>

#include "icons/ico_reader.h"
#include "icons/icons.h"
#include "whole_icon_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    // Through the read-ahead window files are read with, kept small so reads straddle it.
    const MemorySource memory(data, size);
    const BufferedSource source(memory, 512);
    (void)ico::CountIcons(source);
    pixels::Bitmap cell(32, 32, pixels::MakeArgb(255, 255, 255));
    if (auto icon = ExtractIcon(source, 0)) DrawIcon(cell, 0, 0, *icon);
    CheckWholeIcon(IconFile(source), 0);
    return 0;
}
