#pragma once
// Twips, pixels and the integer rules the window's logic depends on.

#include <cmath>
#include <cstdint>
#include <limits>

#include "failure.h"

namespace platform {

// Geometry is single precision, exactly as the logic set it.
using Twips = float;

constexpr double kTwipsPerInch = 1440.0;

// Nearest whole number, halves to the even neighbour (3532.5 gives 3532).
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

// Conversion to a 32-bit integer; a value that does not fit fails.
inline std::int32_t ToInt32(double v) {
    const double r = RoundHalfEven(v);
    if (!(r >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          r <= static_cast<double>(std::numeric_limits<std::int32_t>::max())))
        throw Failure("overflow");
    return static_cast<std::int32_t>(r);
}

// Conversion to a 16-bit integer; scroll values, cell and row indexes live here.
inline std::int16_t ToInt16(double v) {
    const double r = RoundHalfEven(v);
    if (!(r >= -32768.0 && r <= 32767.0)) throw Failure("overflow");
    return static_cast<std::int16_t>(r);
}

// Pixels per inch of a screen and the twips of one pixel on it.
struct ScreenScale {
    double dpiX = 96.0;
    double dpiY = 96.0;
    double twipsPerPixelX() const { return kTwipsPerInch / dpiX; }
    double twipsPerPixelY() const { return kTwipsPerInch / dpiY; }
};

}  // namespace platform
