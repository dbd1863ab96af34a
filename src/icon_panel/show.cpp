// The commands that fill the panel: the icons of one file, or of every
// listed file.
#include <algorithm>

#include "icon_panel.h"

namespace icon_panel {

void IconPanel::ShowIconsOfFile(std::int16_t position) {
    ClearIcons();
    const RunToken::Run mine = run_.JoinFill();
    LoadIconsOfFile(position, true);
    if (run_.FillSuperseded(mine)) return;  // a newer command took the panel over
    ArrangeIcons();
    f.CellsExhausted = false;
}

void IconPanel::ShowAllIcons() {
    f.fraIcons.setVisible(false);
    f.IconCount = 0;
    // This run owns the panel until a newer clear or show-all takes it.
    const RunToken::Run mine = run_.StartFill();
    // Row positions are 16-bit: rows past 32767 are not loaded.
    const std::int32_t n = std::min(f.File1.Count(), 32767);
    for (std::int32_t i = 1; i <= n; ++i) {
        LoadIconsOfFile(static_cast<std::int16_t>(i), false);
        f.DoEvents();
        if (run_.FillSuperseded(mine)) {
            f.fraIcons.setVisible(true);
            // A run that ran out of cells must not leave the next load blocked.
            f.CellsExhausted = false;
            return;
        }
        if (f.CellsExhausted) break;
    }
    ArrangeIcons();
    f.CellsExhausted = false;
}

}  // namespace icon_panel
