#pragma once
// The records of an NE file that the icon reader reads, by their fields'
// offsets in the record. Every field is little-endian.

#include <cstdint>

namespace icons::ne {

// The NE header, where the DOS header's new-header offset points. Its tables
// are placed by offsets from the header itself.
namespace header {
constexpr std::uint64_t kResourceTable = 0x24;
constexpr std::uint64_t kResidentNames = 0x26;  // the table that follows the resource table
constexpr std::uint64_t kSize = 64;
}  // namespace header

// The resource table: an alignment shift, then each type's TYPEINFO followed
// by its NAMEINFO records; a type of 0 ends the table. A name that is no
// number is the offset in the table of a length-prefixed string.
namespace resource_table {
constexpr std::uint64_t kAlignShift = 0;
constexpr std::uint64_t kTypes = 2;
}  // namespace resource_table

namespace type_info {
constexpr std::uint64_t kType = 0;
constexpr std::uint64_t kCount = 2;  // NAMEINFO records that follow
constexpr std::uint64_t kSize = 8;
}  // namespace type_info

// Offset and length count in units of the table's alignment.
namespace name_info {
constexpr std::uint64_t kOffset = 0;
constexpr std::uint64_t kLength = 2;
constexpr std::uint64_t kFlags = 4;
constexpr std::uint64_t kId = 6;
constexpr std::uint64_t kSize = 12;
}  // namespace name_info

// Set on a type or resource that is named by number.
constexpr std::uint16_t kNumbered = 0x8000;

}  // namespace icons::ne
