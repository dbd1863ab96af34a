#pragma once
// What the system services need of the desktop toolkit: the encoders of the
// picture formats it writes for us, and the desktop's handler of addresses.
// The toolkit's side implements it; the system services are handed one.

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/bitmap.h"

namespace platform {

class Desktop {
public:
    enum class PictureFormat { Bmp, Jpeg, Png };

    virtual ~Desktop() = default;
    // The picture as a file of that format, every pixel opaque; fails
    // (platform::Failure) when it cannot be encoded.
    virtual std::vector<std::uint8_t> EncodePicture(const pixels::Bitmap& image, PictureFormat format) = 0;
    // Opens a web address or a file:// URL with the user's handler.
    virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace platform
