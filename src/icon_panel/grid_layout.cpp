#include "grid_layout.h"

#include <cmath>

namespace icon_panel {

GridLayout::GridLayout(float canvasWidth, std::int32_t cellWidth, std::int32_t cellHeight)
    : cellWidth_(cellWidth), cellHeight_(cellHeight) {
    // A row takes another cell while the canvas reaches past the cell's right
    // edge and the margin, compared in single precision as the canvas keeps
    // its width.
    const auto fits = [&](std::int64_t column) {
        return !(canvasWidth < static_cast<float>(column * (cellWidth + kGap) + kGap + cellWidth + kRightMargin));
    };
    if (!fits(0)) return;
    const double pitch = static_cast<double>(cellWidth) + kGap;
    std::int64_t n = static_cast<std::int64_t>(
        std::floor((static_cast<double>(canvasWidth) - (kGap + cellWidth + kRightMargin)) / pitch)) + 1;
    // The division may land one off where single precision rounds the edge.
    while (n > 1 && !fits(n - 1)) --n;
    while (fits(n)) ++n;
    columns_ = static_cast<std::int32_t>(n);
}

std::int64_t GridLayout::Row(std::int64_t index) const {
    if (index < 0) return -1;
    return columns_ == 0 ? index + 1 : index / columns_;
}

CellRect GridLayout::Cell(std::int64_t index) const {
    if (index < 0) return {};
    const std::int64_t column = columns_ == 0 ? 0 : index % columns_;
    return {static_cast<std::int32_t>(column * (cellWidth_ + kGap) + kGap),
            static_cast<std::int32_t>(Row(index) * (cellHeight_ + kGap) + kGap), cellWidth_, cellHeight_};
}

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

}  // namespace icon_panel
