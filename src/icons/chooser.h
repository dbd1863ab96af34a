#pragma once
// Which image of an icon group Windows draws for an icon of S x S pixels: the
// one answer every caller uses, the cells at any size and screen scale, the
// tooltips, the saves, the exports and the thumbnails.

#include <span>

namespace icons {

struct Candidate {
    int width = 0;
    int height = 0;
    int depth = 0;
};

// The size of the standard icon cell, in pixels.
constexpr int kStandardIconSize = 32;

// The sizes an icon is asked for: from a small list's icon to the largest
// image a group may hold.
constexpr int kMinIconSize = 16;
constexpr int kMaxIconSize = 1024;

// The position of the image drawn for `size` x `size` pixels; -1 for an empty list.
//
// At the standard 32 it is the loader's rule, in two passes: the first entry
// with the smallest |w - size| + |h - size| fixes the size difference (its own
// |w - size| and |h - size|); among the entries with exactly that difference
// the depth nearest 32 wins, first listed on a tie.
//
// At any other size: an image of exactly that size first, the deepest, then the
// first listed; else the smallest image that reaches the size on both sides
// (fewest pixels, then the deepest, then the first listed), which is scaled
// down; else the largest (most pixels, then the deepest, then the first
// listed), which is scaled up.
int ChooseImage(std::span<const Candidate> candidates, int size);

}  // namespace icons
