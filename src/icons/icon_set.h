#pragma once
// An icon as the Linux desktop looks icons up: one square PNG per size of the
// hicolor theme, under a name the theme and a menu entry share.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "icon_file.h"

namespace icons {

// The sizes of the hicolor theme's fixed folders, <S>x<S>/apps.
constexpr std::array<int, 10> kHicolorSizes = {16, 22, 24, 32, 48, 64, 96, 128, 256, 512};

struct IconSetImage {
    int size = 0;
    std::vector<std::uint8_t> png;  // size x size, 8-bit RGBA
};

// Icon `index` at each hicolor size up to the longer side of its largest image
// (the desktop scales a smaller one better than we can invent pixels). Each is
// the image ChosenImage picks for that size: as stored when it is that size,
// else scaled down to fit, aspect kept, and centred on transparency. A size
// whose image cannot be read is left out; empty when the icon has no images.
std::vector<IconSetImage> MakeIconSet(const IconFile& file, int index);

// The name an icon of the file `file` (no folder) goes by: its name without
// the ending, lowercased, each character outside a-z 0-9 . _ - made a '-', as
// is a leading '.' (the theme would hide the file); "icon" when nothing is left.
std::string DefaultIconName(const std::string& file);
// Why `name` cannot name an icon or a menu entry (empty, a '/', a leading '.');
// nullptr when it can.
const char* IconNameProblem(const std::string& name);

}  // namespace icons
