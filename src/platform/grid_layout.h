#pragma once
// The icon grid's arithmetic, apart from any control: where each cell goes on
// a canvas of a given width, which cell lies under a point, how many rows a
// viewport shows, and how far and in what steps the canvas scrolls under it.
// All lengths are twips. The icon panel arranges its cells by it, and the
// canvas that draws them finds the cell under the pointer by it.

#include <cmath>
#include <cstdint>

namespace platform {

// Grid constants, in twips.
inline constexpr int kGap = 200;
inline constexpr int kRightMargin = 50;

struct CellRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const CellRect&) const = default;
};

// The vertical scroll bar over a grid taller than its viewport. The bar
// counts in 16 bits, so past 32767 twips of range each of its steps is
// `unit` twips, as few as keep the range within them.
struct ScrollSteps {
    std::int32_t range = 0;  // twips the canvas moves up at most
    std::int32_t unit = 1;   // twips a step of the bar moves it
    std::int32_t max = 0;    // the bar's maximum, in steps: the range rounded up
    std::int32_t smallChange = 1, largeChange = 1;  // an arrow's and a page's steps, at least one
    bool operator==(const ScrollSteps&) const = default;
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
    std::int64_t Row(std::int64_t index) const { return index < 0 ? -1 : columns_ == 0 ? index + 1 : index / columns_; }

    // Where cell `index` goes; an empty rectangle for a negative index.
    CellRect Cell(std::int64_t index) const;

    // The cell of the first `count` whose rectangle holds the point (its left
    // and top edges in, its right and bottom edges out); -1 for a point in a
    // gap, the margin or the empty first row, left of or above the grid, or
    // past its last cell.
    std::int64_t CellAt(double x, double y, std::int64_t count) const;

    // The bottom edge of the first `count` cells' grid; 0 for no cells.
    std::int64_t Height(std::int64_t count) const;

    // How far the canvas moves up to show the grid's last row under a
    // viewport `viewportHeight` high: the grid's height less the viewport's,
    // rounded half to even; 0 when the grid fits (or there are no cells).
    std::int64_t MaxScroll(std::int64_t count, float viewportHeight) const;

    // The scroll bar's steps for `count` cells under that viewport: an arrow
    // moves a row and a little more, a page five of those. For a grid no
    // taller than 2^31 - 1 twips; range 0 and max 0 when the grid fits.
    ScrollSteps Scroll(std::int64_t count, float viewportHeight) const;

    // Whole rows of cells and their gaps that fit a viewport's client height,
    // at least one.
    std::int32_t RowsPerPage(double viewportHeight) const;

private:
    std::int32_t cellWidth_, cellHeight_;
    std::int32_t columns_ = 0;
};

inline GridLayout::GridLayout(float canvasWidth, std::int32_t cellWidth, std::int32_t cellHeight)
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

inline CellRect GridLayout::Cell(std::int64_t index) const {
    if (index < 0) return {};
    const std::int64_t column = columns_ == 0 ? 0 : index % columns_;
    return {static_cast<std::int32_t>(column * (cellWidth_ + kGap) + kGap),
            static_cast<std::int32_t>(Row(index) * (cellHeight_ + kGap) + kGap), cellWidth_, cellHeight_};
}

inline std::int64_t GridLayout::CellAt(double x, double y, std::int64_t count) const {
    // The column and row whose cell starts at or before the point; the point
    // is on that cell, or in the gap after it.
    const auto along = [](double at, std::int32_t size) -> std::int64_t {
        // Far past any grid the row would not fit its integer.
        if (!(at >= kGap && at < 0x1p52) || size <= 0) return -1;
        const double pitch = static_cast<double>(size) + kGap;
        const auto n = static_cast<std::int64_t>(std::floor((at - kGap) / pitch));
        // The division rounds; the cell's own edges decide.
        const double from = static_cast<double>(n) * pitch + kGap;
        return at >= from && at < from + size ? n : -1;
    };
    const std::int64_t column = along(x, cellWidth_), row = along(y, cellHeight_);
    if (column < 0 || row < 0) return -1;
    std::int64_t index = -1;
    if (columns_ == 0) index = column == 0 ? row - 1 : -1;
    else if (column < columns_) index = row * columns_ + column;
    return index >= 0 && index < count ? index : -1;
}

}  // namespace platform
