#pragma once

#include <string>

#include "platform/bitmap.h"

namespace cli {

// Writes the bitmap as an 8-bit RGBA PNG; false (and no partial file left) when it cannot.
bool WritePngFile(const std::string& path, const platform::Bitmap& bitmap);

}  // namespace cli
