#pragma once
// A plain 32-bit picture: what a cell keeps as its persistent image, what the
// icon reader draws into and what it decodes an image to. No toolkit types,
// so the window's logic and the icon reader stay testable without a display.

#include <cstdint>
#include <vector>

namespace pixels {

// 0xAARRGGBB, straight (not premultiplied) alpha.
using Argb = std::uint32_t;

constexpr Argb MakeArgb(int r, int g, int b, int a = 255) {
    return (static_cast<Argb>(a & 0xFF) << 24) | (static_cast<Argb>(r & 0xFF) << 16) |
           (static_cast<Argb>(g & 0xFF) << 8) | static_cast<Argb>(b & 0xFF);
}
constexpr int RedOf(Argb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Argb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Argb c) { return static_cast<int>(c & 0xFF); }
constexpr int AlphaOf(Argb c) { return static_cast<int>((c >> 24) & 0xFF); }

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;  // row-major, top row first, width * height entries
    // An icon image decoded on its own: some pixels inverted the screen (AND
    // mask 1 over a non-black colour). They have no RGBA form and are given
    // as drawn on white.
    bool inverted = false;

    Bitmap() = default;
    Bitmap(int w, int h, Argb fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    Argb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Argb& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void fill(Argb c) { pixels.assign(pixels.size(), c); }
    bool operator==(const Bitmap&) const = default;
};

}  // namespace pixels
