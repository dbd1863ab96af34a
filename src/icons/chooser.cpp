#include "chooser.h"

#include <cstdlib>

namespace icons {

int ChooseImage(std::span<const Candidate> candidates, int size) {
    int sized = -1;
    long bestDistance = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const long d = std::labs(static_cast<long>(candidates[i].width) - size) +
                       std::labs(static_cast<long>(candidates[i].height) - size);
        if (sized < 0 || d < bestDistance) {
            sized = static_cast<int>(i);
            bestDistance = d;
        }
    }
    if (sized < 0) return -1;
    const long dx = std::labs(static_cast<long>(candidates[sized].width) - size);
    const long dy = std::labs(static_cast<long>(candidates[sized].height) - size);

    int chosen = -1;
    long bestDepthGap = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (std::labs(static_cast<long>(c.width) - size) != dx || std::labs(static_cast<long>(c.height) - size) != dy)
            continue;
        const long gap = std::labs(static_cast<long>(c.depth) - 32);
        if (chosen < 0 || gap < bestDepthGap) {
            chosen = static_cast<int>(i);
            bestDepthGap = gap;
        }
    }
    return chosen;
}

}  // namespace icons
