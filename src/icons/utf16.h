#pragma once
// UTF-16 text as Windows files store it (resource names, version strings), turned into UTF-8.

#include <string>

#include "byte_view.h"

namespace icons {

// The little-endian UTF-16 units of `units` (an odd last byte left out) as
// UTF-8; a surrogate without its other half becomes U+FFFD, so the result is
// always valid UTF-8. A NUL unit is kept as it is.
std::string Utf16ToUtf8(ByteView units);

}  // namespace icons
