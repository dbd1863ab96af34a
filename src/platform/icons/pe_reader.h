#pragma once
// Icon groups in the resource tree of a PE32 or PE32+ executable or library.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace platform::icons::pe {

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
// Older loaders refuse images with more sections than this, so no real icon
// library has more; the cap bounds what one file can make us read.
constexpr std::size_t kMaxSections = 96;

// True when the bytes start a PE file ("MZ", then "PE\0\0" where e_lfanew points).
bool IsPe(const ByteSource& source);

// Entries (named and numbered) of the RT_GROUP_ICON directory; 0 when there is
// none or the headers or tree are malformed; nullopt when this is not a PE file.
std::optional<int> CountIconGroups(const ByteSource& source);

// The images of the index-th RT_GROUP_ICON entry (directory order, first
// language), each resolved through RT_ICON. Empty when there is no such group.
std::vector<ImageRef> IconGroupImages(const ByteSource& source, int index);

}  // namespace platform::icons::pe
