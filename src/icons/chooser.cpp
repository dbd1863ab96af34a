#include "chooser.h"

#include <cstdlib>

namespace icons {
namespace {

long Distance(long side, int size) { return std::labs(side - size); }

int ChooseForStandardSize(std::span<const Candidate> candidates, int size) {
    int sized = -1;
    long bestDistance = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const long d = Distance(candidates[i].width, size) + Distance(candidates[i].height, size);
        if (sized < 0 || d < bestDistance) {
            sized = static_cast<int>(i);
            bestDistance = d;
        }
    }
    if (sized < 0) return -1;
    const long dx = Distance(candidates[sized].width, size);
    const long dy = Distance(candidates[sized].height, size);

    int chosen = -1;
    long bestDepthGap = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (Distance(c.width, size) != dx || Distance(c.height, size) != dy) continue;
        const long gap = std::labs(static_cast<long>(c.depth) - 32);
        if (chosen < 0 || gap < bestDepthGap) {
            chosen = static_cast<int>(i);
            bestDepthGap = gap;
        }
    }
    return chosen;
}

long long Pixels(const Candidate& c) { return static_cast<long long>(c.width) * c.height; }

}  // namespace

int ChooseImage(std::span<const Candidate> candidates, int size) {
    if (size == kStandardIconSize) return ChooseForStandardSize(candidates, size);

    // Ranked in one pass: exact beats reaching beats falling short; within a
    // rank the nearest in pixels (fewer when reaching, more when short), then
    // the deeper; a later entry has to be strictly better.
    enum Rank { kShort, kReaches, kExact };
    const auto rankOf = [size](const Candidate& c) {
        if (c.width == size && c.height == size) return kExact;
        return c.width >= size && c.height >= size ? kReaches : kShort;
    };
    const auto better = [&](const Candidate& c, const Candidate& b) {
        const Rank rc = rankOf(c), rb = rankOf(b);
        if (rc != rb) return rc > rb;
        if (Pixels(c) != Pixels(b)) return rc == kShort ? Pixels(c) > Pixels(b) : Pixels(c) < Pixels(b);
        return c.depth > b.depth;
    };
    int chosen = -1;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (chosen < 0 || better(candidates[i], candidates[static_cast<std::size_t>(chosen)]))
            chosen = static_cast<int>(i);
    return chosen;
}

}  // namespace icons
