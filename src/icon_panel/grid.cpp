// The grid of cells on the canvas, and scrolling it under the viewport.
#include <algorithm>

#include "platform/grid_layout.h"
#include "icon_panel.h"
#include "platform/guarded.h"

namespace icon_panel {

using platform::Guarded;

void IconPanel::ArrangeIcons() {
    // An arrangement started inside this one's yield (a resize, a new load)
    // lays the grid out for the newer state; this one stops where it is.
    const RunToken::Run mine = run_.StartArrangement();
    const auto superseded = [&] {
        if (!run_.ArrangementSuperseded(mine)) return false;
        Guarded([&] { f.fraIcons.setVisible(true); });
        return true;
    };

    if (f.IconCount > 0) {
        Guarded([&] { f.fraIcons.setVisible(false); });
        Guarded([&] { f.ShowStatus(kArrangingText); });
        Guarded([&] { f.ShowProgress(0, f.IconCount); });
        if (superseded()) return;

        const platform::GridLayout grid(f.fraIcons.Width(), f.CellWidth, f.CellHeight);
        std::int32_t cells = 0;
        const std::int32_t last = f.picIcon.Count() - 1;
        for (std::int32_t k = 0; k <= last && k <= platform::ControlArray<platform::PictureBox>::kMaxIndex; ++k) {
            Guarded([&] {
                // Rows are counted in 16 bits; a cell whose row is past them stays put.
                platform::ToInt16(static_cast<double>(grid.Row(k)));
                const platform::CellRect r = grid.Cell(k);
                f.picIcon(static_cast<std::int16_t>(k)).Move(r.left, r.top);
            });
            cells = k + 1;
            Guarded([&] { f.ShowProgress(k, -1); });
            if (superseded()) return;
        }

        Guarded([&] {
            const std::int32_t G = platform::ToInt32(static_cast<double>(grid.Height(cells)));
            const float H = f.picIconHolder.Height();
            if (H < static_cast<float>(G)) {
                // The range is less than G, so it fits 32 bits too.
                const platform::ScrollSteps steps = grid.Scroll(cells, H);
                Guarded([&] { f.VS.setMin(0); });
                Guarded([&] { f.VS.setValue(0); });
                scrollUnit_ = steps.unit;
                scrollRange_ = steps.range;
                Guarded([&] { f.VS.setMax(steps.max); });
                Guarded([&] { f.VS.setSmallChange(steps.smallChange); });
                Guarded([&] { f.VS.setLargeChange(steps.largeChange); });
                Guarded([&] { f.fraIcons.setHeight(G); });
            } else {
                scrollUnit_ = 1;
                Guarded([&] { f.VS.setMin(0); });
                Guarded([&] { f.VS.setMax(0); });
                Guarded([&] { f.VS.setValue(0); });
                // The grid fits the viewport: make sure the canvas does not
                // cut the last row off.
                Guarded([&] {
                    if (f.fraIcons.Height() < static_cast<float>(G)) f.fraIcons.setHeight(G);
                });
            }
        });
    }

    Guarded([&] { SelectIcon(f.SelectedIcon); });
    Guarded([&] { f.ShowProgress(0, 0); });
    if (superseded()) return;
    Guarded([&] { f.ShowStatus(""); });
    Guarded([&] { f.fraIcons.setVisible(true); });
}

void IconPanel::VS_Change() {
    if (scrollUnit_ == 1) {
        f.fraIcons.setTop(-static_cast<std::int32_t>(f.VS.Value()));
        return;
    }
    // The last coarse step may reach past the grid's end; stop at the end.
    f.fraIcons.setTop(-std::min(f.VS.Value() * scrollUnit_, scrollRange_));
}

void IconPanel::VS_Scroll() { VS_Change(); }

void IconPanel::VS_GotFocus() { f.picIconHolder.SetFocus(); }

}  // namespace icon_panel
