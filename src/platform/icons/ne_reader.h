#pragma once
// Icon groups in the resource table of a 16-bit NE executable or library.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace platform::icons::ne {

constexpr std::uint16_t kRtIcon = 0x8003;
constexpr std::uint16_t kRtGroupIcon = 0x800E;

// True when the bytes start an NE file ("MZ", then "NE" where e_lfanew points).
bool IsNe(const ByteSource& source);

// RT_GROUP_ICON resources in the table; 0 when malformed; nullopt when not NE.
std::optional<int> CountIconGroups(const ByteSource& source);

// The images of the index-th RT_GROUP_ICON resource in table order.
std::vector<ImageRef> IconGroupImages(const ByteSource& source, int index);

}  // namespace platform::icons::ne
