// The grid's arithmetic on its own: the cell under a point, the rows a page
// shows, and the scroll bar's steps. Gap 200 and right margin 50 twips, so a
// canvas W wide holds floor((W - 50) / (cell width + 200)) columns and cell k
// of a row n wide starts at 200 + (k % n) * (w + 200), 200 + (k / n) * (h + 200).
#include <gtest/gtest.h>

#include "platform/grid_layout.h"

namespace {

using platform::GridLayout;
using platform::ScrollSteps;

TEST(GridLayout, CellUnderAPoint) {
    struct Case { const char* name; float canvas; int w, h; std::int64_t count; double x, y; std::int64_t cell; };
    // 3000 wide, 480-twip cells: 4 columns at 200, 880, 1560, 2240; rows every 680.
    // 700 wide: no column; cell k starts its own row, k + 1 rows down.
    const Case cases[] = {
        {"first twip of cell 0", 3000, 480, 480, 10, 200, 200, 0},
        {"last twip of cell 0", 3000, 480, 480, 10, 679, 679, 0},
        {"first twip of the gap right of it", 3000, 480, 480, 10, 680, 300, -1},
        {"first twip of the gap below it", 3000, 480, 480, 10, 300, 680, -1},
        {"just short of cell 1", 3000, 480, 480, 10, 879.5, 300, -1},
        {"first twip of cell 1", 3000, 480, 480, 10, 880, 300, 1},
        {"the margin left of the grid", 3000, 480, 480, 10, 199.9, 300, -1},
        {"above and left of the canvas", 3000, 480, 480, 10, -5, -5, -1},
        {"last column of row 1", 3000, 480, 480, 10, 2250, 890, 7},
        {"where a fifth column would be", 3000, 480, 480, 10, 2930, 300, -1},
        {"the last of the count", 3000, 480, 480, 10, 890, 1570, 9},
        {"past the last of the count", 3000, 480, 480, 10, 1570, 1570, -1},
        {"wide cells, last twip both ways", 1200, 320, 240, 10, 1039, 879, 3},
        {"wide cells, gap after it", 1200, 320, 240, 10, 1040, 879, -1},
        {"no column: the empty first row", 700, 480, 480, 3, 300, 300, -1},
        {"no column: cell 0 a row down", 700, 480, 480, 3, 300, 890, 0},
        {"no column: cell 1 two rows down", 700, 480, 480, 3, 300, 1570, 1},
        {"no column: nothing beside a cell", 700, 480, 480, 3, 890, 890, -1},
        {"no column: past the last of the count", 700, 480, 480, 2, 300, 2250, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GridLayout(c.canvas, c.w, c.h).CellAt(c.x, c.y, c.count), c.cell) << c.name;
}

TEST(GridLayout, RowsPerPage) {
    struct Case { const char* name; int h; double viewport; int rows; };
    const Case cases[] = {
        {"three rows exactly", 480, 2040, 3},
        {"a twip short of three", 480, 2039, 2},
        {"less than a row is one", 480, 100, 1},
        {"part of a tenth row", 240, 4000, 9},
    };
    for (const Case& c : cases) EXPECT_EQ(GridLayout(3000, 480, c.h).RowsPerPage(c.viewport), c.rows) << c.name;
}

TEST(GridLayout, ScrollSteps) {
    // Steps: range, unit, max, small change, large change.
    struct Case { const char* name; float canvas; std::int64_t count; float viewport; ScrollSteps steps; };
    // 480-twip cells: an arrow moves 600 twips, a page 3000.
    const Case cases[] = {
        // 10 cells in 3 rows end at 200 + 2 * 680 + 480 = 2040.
        {"1038.5 rounds to even", 3000, 10, 1001.5f, {1038, 1, 1038, 600, 3000}},
        {"the grid fits", 3000, 10, 2040, {0, 1, 0, 600, 3000}},
        // 1000 cells in 250 rows end at 200 + 249 * 680 + 480 = 170000.
        {"a range of 32767 in single twips", 3000, 1000, 137233, {32767, 1, 32767, 600, 3000}},
        {"one twip more takes steps of two", 3000, 1000, 137232, {32768, 2, 16384, 300, 1500}},
        {"169000 in steps of 6", 3000, 1000, 1000, {169000, 6, 28167, 100, 500}},
        // 120000 cells end at 200 + 29999 * 680 + 480 = 20400000: steps of 623.
        {"an arrow's move under one step is one", 3000, 120000, 0, {20400000, 623, 32745, 1, 4}},
        // No column: 3 cells, the last 3 rows down, end at 200 + 3 * 680 + 480 = 2720.
        {"no column", 700, 3, 720, {2000, 1, 2000, 600, 3000}},
    };
    for (const Case& c : cases) {
        const ScrollSteps s = GridLayout(c.canvas, 480, 480).Scroll(c.count, c.viewport);
        EXPECT_EQ(s, c.steps) << c.name << ": " << s.range << " " << s.unit << " " << s.max << " " << s.smallChange
                              << " " << s.largeChange;
    }
}

}  // namespace
