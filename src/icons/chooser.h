#pragma once
// Which image of an icon group to draw at a given size, by the loader's rule.

#include <span>

namespace icons {

struct Candidate {
    int width = 0;
    int height = 0;
    int depth = 0;
};

// Two passes: the first entry with the smallest |w - size| + |h - size| fixes
// the size difference (its own |w - size| and |h - size|); among the entries
// with exactly that difference the depth nearest 32 wins, first listed on a tie.
// Returns the chosen position, or -1 for an empty list.
int ChooseImage(std::span<const Candidate> candidates, int size);

}  // namespace icons
