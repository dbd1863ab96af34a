#pragma once
// The fields of an .ico or .cur file's directory and of an icon group's, by
// their offsets in the record. Every field is little-endian. A group resource
// (RT_GROUP_ICON) opens with the same six bytes as a file; its entries name
// each image by its resource ID instead of its place in the file.

#include <cstdint>

namespace icons::ico {

// ICONDIR: opens the file.
namespace dir {
constexpr std::uint64_t kReserved = 0;  // 0
constexpr std::uint64_t kType = 2;      // 1 icon, 2 cursor
constexpr std::uint64_t kCount = 4;     // entries that follow
constexpr std::uint64_t kSize = 6;
}  // namespace dir

constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;

// ICONDIRENTRY: one an image, right after ICONDIR.
namespace entry {
constexpr std::uint64_t kWidth = 0;  // 0 stands for 256
constexpr std::uint64_t kHeight = 1;
constexpr std::uint64_t kColours = 2;    // palette entries, 0 for none or 256
constexpr std::uint64_t kReserved = 3;
constexpr std::uint64_t kPlanes = 4;     // a cursor's hotspot x
constexpr std::uint64_t kBitCount = 6;   // a cursor's hotspot y
constexpr std::uint64_t kImageBytes = 8;   // the image's size
constexpr std::uint64_t kImageOffset = 12;  // where the image starts in the file
constexpr std::uint64_t kSize = 16;
}  // namespace entry

// GRPICONDIRENTRY: one an image, right after the group's directory; the
// same as ICONDIRENTRY up to the image's size.
namespace group_entry {
constexpr std::uint64_t kWidth = entry::kWidth;
constexpr std::uint64_t kHeight = entry::kHeight;
constexpr std::uint64_t kColours = entry::kColours;
constexpr std::uint64_t kPlanes = entry::kPlanes;
constexpr std::uint64_t kBitCount = entry::kBitCount;
constexpr std::uint64_t kImageBytes = entry::kImageBytes;
constexpr std::uint64_t kId = 12;  // the RT_ICON resource that holds the image
constexpr std::uint64_t kSize = 14;
}  // namespace group_entry

// CURSORDIRENTRY: one an image of a cursor group (RT_GROUP_CURSOR), the same
// size as GRPICONDIRENTRY but with 16-bit sides, the height twice the
// picture's (the image and its mask), and no palette count.
namespace cursor_group_entry {
constexpr std::uint64_t kWidth = 0;
constexpr std::uint64_t kHeight = 2;
constexpr std::uint64_t kPlanes = 4;
constexpr std::uint64_t kBitCount = 6;
constexpr std::uint64_t kImageBytes = 8;
constexpr std::uint64_t kId = 12;  // the RT_CURSOR resource that holds the image
constexpr std::uint64_t kSize = 14;
}  // namespace cursor_group_entry

// An RT_CURSOR resource: the hotspot, then the image as an .cur file stores it.
namespace cursor_resource {
constexpr std::uint64_t kHotspotX = 0;
constexpr std::uint64_t kHotspotY = 2;
constexpr std::uint64_t kImage = 4;
}  // namespace cursor_resource

}  // namespace icons::ico
