#pragma once
// The records of a PE file that the icon reader reads, by their fields'
// offsets in the record. Every field is little-endian.

#include <cstdint>

namespace icons::pe {

// "PE\0\0" where the DOS header's new-header offset points, then the COFF
// file header; offsets from the signature.
namespace file_header {
constexpr std::uint64_t kSignature = 0;
constexpr std::uint64_t kSectionCount = 6;
constexpr std::uint64_t kOptionalHeaderSize = 20;
constexpr std::uint64_t kSize = 24;  // where the optional header starts
}  // namespace file_header

constexpr std::uint32_t kSignature = 'P' | ('E' << 8);  // and two zero bytes

// The optional header, whose size the file header gives; the section table follows it.
namespace optional_header {
constexpr std::uint64_t kMagic = 0;
// NumberOfRvaAndSizes, followed by that many data directories. PE32+ widens
// the fields before it, so it stands further on.
constexpr std::uint64_t kDirectoryCountPe32 = 92;
constexpr std::uint64_t kDirectoryCountPe32Plus = 108;
constexpr std::uint64_t kDirectoryCountBytes = 4;
}  // namespace optional_header

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;

namespace data_directory {
constexpr std::uint64_t kRva = 0;
constexpr std::uint64_t kBytes = 4;
constexpr std::uint64_t kSize = 8;
constexpr std::uint32_t kResources = 2;  // the resource tree's place in the list
}  // namespace data_directory

// IMAGE_SECTION_HEADER, one a section.
namespace section_header {
constexpr std::uint64_t kVirtualSize = 8;
constexpr std::uint64_t kVirtualAddress = 12;
constexpr std::uint64_t kRawSize = 16;
constexpr std::uint64_t kRawPointer = 20;
constexpr std::uint64_t kSize = 40;
}  // namespace section_header

// IMAGE_RESOURCE_DIRECTORY: its entries follow it, the named ones first.
namespace resource_directory {
constexpr std::uint64_t kNamedCount = 12;
constexpr std::uint64_t kIdCount = 14;
constexpr std::uint64_t kSize = 16;
}  // namespace resource_directory

// IMAGE_RESOURCE_DIRECTORY_ENTRY. With kHighBit set, the name is the offset
// of a string in the tree, and the target the offset of a directory; without
// it, the name is a number and the target a data entry.
namespace resource_entry {
constexpr std::uint64_t kName = 0;
constexpr std::uint64_t kTarget = 4;
constexpr std::uint64_t kSize = 8;
}  // namespace resource_entry

constexpr std::uint32_t kHighBit = 0x80000000u;

// IMAGE_RESOURCE_DATA_ENTRY: where a resource's bytes are.
namespace resource_data {
constexpr std::uint64_t kRva = 0;
constexpr std::uint64_t kBytes = 4;
constexpr std::uint64_t kSize = 16;
}  // namespace resource_data

// A resource's name: a count of UTF-16 units, then the units.
namespace resource_name {
constexpr std::uint64_t kLength = 0;
constexpr std::uint64_t kUnits = 2;
}  // namespace resource_name

}  // namespace icons::pe
