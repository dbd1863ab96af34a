#pragma once
// The grid's arithmetic, apart from any control: where each cell goes on a
// canvas of a given width, which cell lies under a point, and how far the
// canvas can scroll under a viewport. All lengths are twips.

#include <cstdint>

namespace icon_panel {

// Grid constants, in twips.
inline constexpr int kGap = 200;
inline constexpr int kRightMargin = 50;

struct CellRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const CellRect&) const = default;
};

class GridLayout {
public:
    // Cells of `cellWidth` by `cellHeight` on a canvas `canvasWidth` wide.
    GridLayout(float canvasWidth, std::int32_t cellWidth, std::int32_t cellHeight);

    // Cells a row holds: as many as leave the right margin free. 0 when not
    // even one does; every cell then starts a row of its own, the first one
    // included, so the grid begins one row down.
    std::int32_t Columns() const { return columns_; }

    // The row of cell `index` (counted from 0); -1 for a negative index.
    std::int64_t Row(std::int64_t index) const;

    // Where cell `index` goes; an empty rectangle for a negative index.
    CellRect Cell(std::int64_t index) const;

    // The bottom edge of the first `count` cells' grid; 0 for no cells.
    std::int64_t Height(std::int64_t count) const;

    // How far the canvas moves up to show the grid's last row under a
    // viewport `viewportHeight` high: the grid's height less the viewport's,
    // rounded half to even; 0 when the grid fits (or there are no cells).
    std::int64_t MaxScroll(std::int64_t count, float viewportHeight) const;

private:
    std::int32_t cellWidth_, cellHeight_;
    std::int32_t columns_ = 0;
};

}  // namespace icon_panel
