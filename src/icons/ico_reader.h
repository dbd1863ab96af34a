#pragma once
// .ico (type 1) and .cur (type 2) files: one icon, its images in the file's directory.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace icons::ico {

// 1 when some entry points inside the file, else 0; nullopt when not an ICO/CUR file.
std::optional<int> CountIcons(const ByteSource& source);

// The directory's images in file order. A cursor's planes and bit-count fields
// hold its hotspot, so its directory depth is left at 0.
std::vector<ImageRef> Images(const ByteSource& source);

// The file as one icon: its images, and whether it is a cursor; nullopt when
// not an ICO/CUR file.
std::optional<RawGroup> Group(const ByteSource& source);

}  // namespace icons::ico
