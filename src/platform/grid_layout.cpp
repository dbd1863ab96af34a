#include "grid_layout.h"

#include <algorithm>
#include <cmath>

namespace platform {

std::int64_t GridLayout::Height(std::int64_t count) const {
    if (count <= 0) return 0;
    const CellRect last = Cell(count - 1);
    return static_cast<std::int64_t>(last.top) + last.height;
}

std::int64_t GridLayout::MaxScroll(std::int64_t count, float viewportHeight) const {
    const std::int64_t height = Height(count);
    if (count <= 0 || !(viewportHeight < static_cast<float>(height))) return 0;
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(height) - viewportHeight));
}

ScrollSteps GridLayout::Scroll(std::int64_t count, float viewportHeight) const {
    ScrollSteps s;
    s.range = static_cast<std::int32_t>(MaxScroll(count, viewportHeight));
    s.unit = s.range > 32767 ? (s.range + 32766) / 32767 : 1;
    s.max = (s.range + s.unit - 1) / s.unit;
    const auto steps = [&](std::int32_t twips) { return std::max(1, twips / s.unit); };
    s.smallChange = steps(cellHeight_ + 120);
    s.largeChange = steps((cellHeight_ + 120) * 5);
    return s;
}

std::int32_t GridLayout::RowsPerPage(double viewportHeight) const {
    const double rows = std::floor(viewportHeight / static_cast<double>(cellHeight_ + kGap));
    return std::max(1, static_cast<std::int32_t>(rows));
}

}  // namespace platform
