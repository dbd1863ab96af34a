#pragma once
// Spare cell images. A show-all clears or unloads thousands of cells and
// draws as many again; each fresh image would have its pages faulted in and
// zeroed by the system, which cost more than drawing the icon into it. A
// cleared cell gives its image here and the next cell drawn takes it, pages
// already mapped.
//
// Bounded by count (never more spare images than cells can exist) and by
// size (a picture larger than a cell is not kept). The window's once-a-second
// memory trim gives the spare images back to the system once a whole tick
// went by with none taken: a run that is drawing keeps them, an idle window
// holds none two ticks later. One thread, no locking.

#include <cstddef>
#include <utility>
#include <vector>

#include "pixels/bitmap.h"

namespace platform {

class BitmapPool {
public:
    static constexpr std::size_t kMaxImages = 32768;
    static constexpr std::size_t kMaxPixels = 128 * 128;

    BitmapPool() = default;
    BitmapPool(const BitmapPool&) = delete;
    BitmapPool& operator=(const BitmapPool&) = delete;

    // A w x h picture filled with `fill`, in a spare image's storage when there is one.
    pixels::Bitmap Take(int w, int h, pixels::Argb fill) {
        pixels::Bitmap out;
        if (w <= 0 || h <= 0) return out;
        if (!spare_.empty()) {
            out.pixels = std::move(spare_.back());
            spare_.pop_back();
            takenSinceTrim_ = true;
        }
        out.width = w;
        out.height = h;
        out.pixels.assign(static_cast<std::size_t>(w) * h, fill);
        return out;
    }

    // Keeps the image's storage for a later Take; `image` is left empty.
    void Give(pixels::Bitmap& image) {
        std::vector<pixels::Argb> pixels = std::move(image.pixels);
        image = pixels::Bitmap();
        const std::size_t capacity = pixels.capacity();
        if (capacity == 0 || capacity > kMaxPixels || spare_.size() >= kMaxImages) return;
        spare_.push_back(std::move(pixels));
    }

    // The memory trim: lets the spare images go unless one was taken since the last trim.
    void Trim() {
        if (!takenSinceTrim_) Release();
        takenSinceTrim_ = false;
    }

    void Release() { std::vector<std::vector<pixels::Argb>>().swap(spare_); }

    std::size_t SpareImages() const { return spare_.size(); }

private:
    std::vector<std::vector<pixels::Argb>> spare_;
    bool takenSinceTrim_ = false;
};

}  // namespace platform
