#pragma once
// The DOS header every Windows executable opens with, by its fields' offsets.
// Every field is little-endian.

#include <cstdint>

namespace icons::mz {

constexpr std::uint64_t kMagic = 0;               // "MZ"
constexpr std::uint64_t kNewHeaderOffset = 0x3C;  // e_lfanew: where the PE or NE header starts
constexpr std::uint64_t kSize = 64;

constexpr std::uint16_t kSignature = 'M' | ('Z' << 8);
// The new header opens with two letters that say which it is: "PE" or "NE".
constexpr std::uint64_t kNewSignatureBytes = 2;

}  // namespace icons::mz
