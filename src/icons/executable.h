#pragma once
// The DOS header every Windows executable starts with, and where it says the
// real (new) header is. PE and NE readers both start here.

#include <cstdint>
#include <optional>

#include "byte_source.h"

namespace icons {

struct NewHeader {
    std::uint32_t offset = 0;  // e_lfanew
    char signature[2] = {};    // "PE" or "NE", as found there
};

// nullopt unless the source starts with "MZ" and a whole 64-byte DOS header,
// and two bytes can be read where e_lfanew points.
std::optional<NewHeader> ReadNewHeader(const ByteSource& source);

}  // namespace icons
