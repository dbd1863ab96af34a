// Moving the selection over the grid with the keyboard.
#include <algorithm>
#include <cmath>

#include "icon_panel.h"

namespace icon_panel {

namespace key = platform::key;

// The cells of a row, as the last arrangement laid them out; a canvas too
// narrow for one cell gives each cell a row of its own.
std::int32_t IconPanel::CellsPerRow() {
    return std::max<std::int32_t>(1, platform::GridLayout(f.fraIcons.Width(), f.CellWidth, f.CellHeight).Columns());
}

// The rows that fit the viewport at once, at least one.
std::int32_t IconPanel::RowsPerPage() {
    return platform::GridLayout(f.fraIcons.Width(), f.CellWidth, f.CellHeight).RowsPerPage(f.picIconHolder.ScaleHeight());
}

void IconPanel::picIconHolder_KeyDown(int keyCode, int shift) {
    if (shift != 0 || f.IconCount <= 0) return;
    const std::int32_t last = f.IconCount - 1;
    const std::int32_t across = CellsPerRow();
    const std::int32_t from = f.SelectedIcon;
    // Down by whole rows, as far as the grid holds this column; past that, a
    // shorter last row below gives its last icon.
    const auto rowsDown = [&](std::int32_t rows) {
        const std::int32_t whole = std::min(rows, (last - from) / across);
        const std::int32_t to = from + whole * across;
        return whole == rows || to / across == last / across ? to : last;
    };
    const auto rowsUp = [&](std::int32_t rows) { return from - std::min(rows, from / across) * across; };

    std::int32_t to = 0;
    switch (keyCode) {
        case key::kLeft: to = std::max(from - 1, 0); break;
        case key::kRight: to = std::min(from + 1, last); break;
        case key::kUp: to = rowsUp(1); break;
        case key::kDown: to = rowsDown(1); break;
        case key::kPageUp: to = rowsUp(RowsPerPage()); break;
        case key::kPageDown: to = rowsDown(RowsPerPage()); break;
        case key::kHome: to = 0; break;
        case key::kEnd: to = last; break;
        default: return;
    }
    // Nothing selected among the icons (a cleared panel, a spare cell
    // clicked): any of these keys starts at the first icon.
    if (from < 0 || from > last) to = 0;

    picIcon_Click(platform::ToInt16(to));
    ScrollIntoView(to);
}

// Scrolls, through the scroll bar as the user would, just far enough that the
// cell and its frame are in sight, with the gap around them.
void IconPanel::ScrollIntoView(std::int32_t index) {
    if (f.VS.Max() <= 0) return;
    const platform::PictureBox& cell = f.picIcon(platform::ToInt16(index));
    const double shown = -static_cast<double>(f.fraIcons.Top());
    const double height = f.picIconHolder.ScaleHeight();
    const double above = cell.Top() - platform::kGap, below = cell.Top() + cell.Height() + platform::kGap;
    double value = 0;
    if (above < shown) value = std::floor(std::max(0.0, above) / scrollUnit_);
    else if (below > shown + height) value = std::ceil((below - height) / scrollUnit_);
    else return;
    f.VS.setValue(std::clamp<double>(value, f.VS.Min(), f.VS.Max()));
}

}  // namespace icon_panel
