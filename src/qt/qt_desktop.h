#pragma once
// The desktop as Qt gives it: its image writers and QDesktopServices. Only
// Qt's GUI module, so the command-line tests can use it without widgets.

#include "platform/desktop.h"

namespace platform_qt {

class QtDesktop final : public platform::Desktop {
public:
    std::vector<std::uint8_t> EncodePicture(const pixels::Bitmap& image, PictureFormat format) override;
    void OpenUrl(const std::string& url) override;
};

}  // namespace platform_qt
