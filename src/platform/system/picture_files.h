#pragma once
#include <string>

#include "platform/bitmap.h"

namespace platform {

// Writes `image` to `path` in the format its name asks for, whatever the case
// of its ending: .gif GIF, .jpeg or .jpg JPEG, .ico an icon of the picture,
// .png PNG, anything else BMP. The file appears whole or not at all: an
// existing file of that name survives a failed write. Fails
// (platform::Failure) when the file cannot be written.
void WritePictureFile(const Bitmap& image, const std::string& path);

}  // namespace platform
