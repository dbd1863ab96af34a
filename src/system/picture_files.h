#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pixels/bitmap.h"
#include "platform/desktop.h"

namespace platform {

// Writes `image` to `path` in the format its name asks for, whatever the case
// of its ending: .gif GIF, .jpeg or .jpg JPEG, .ico an icon of the picture,
// .png PNG, anything else BMP. The file appears whole or not at all: an
// existing file of that name survives a failed write. Fails
// (platform::Failure) when the file cannot be written. GIF and ICO are
// written here; BMP, JPEG and PNG by the desktop's encoders.
void WritePictureFile(const pixels::Bitmap& image, const std::string& path, Desktop& desktop);

// Writes the bytes as the file `path`, whole or not at all, as above.
void WriteFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path);

// True when the name ends with `ending` (lower case), whatever the case of the name.
bool HasEnding(const std::string& path, const char* ending);

}  // namespace platform
