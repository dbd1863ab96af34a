// 16-bit NE resource tables: the count and the first few groups drawn; the
// first and last whole, described, decoded and written back out; and so for
// its cursor groups.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "icons/icons.h"
#include "whole_icon_check.h"
#include "icons/ne_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace icons;
    const MemorySource source(data, size);
    const int count = ne::CountIconGroups(source).value_or(0);
    pixels::Bitmap cell(32, 32, pixels::MakeArgb(255, 255, 255));
    for (int i : {0, 1, 2, count - 1, count}) {
        if (auto icon = ExtractIcon(source, i)) DrawIcon(cell, 0, 0, *icon);
    }
    const IconFile file(source);
    for (int i : {0, count - 1}) CheckWholeIcon(file, i);
    // Asked for, the cursor groups follow the icons: the first and last of them whole.
    const IconFile withCursors(source, {.cursors = true});
    const int all = withCursors.count();
    if (all < count) std::abort();
    if (all > count) {
        for (int i : {count, all - 1}) CheckWholeIcon(withCursors, i);
    }
    return 0;
}
