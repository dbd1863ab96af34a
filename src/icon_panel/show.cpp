// The commands that fill the panel: the icons of one file, or of every
// listed file.
#include <algorithm>
#include <optional>

#include "icon_panel.h"
#include "platform/guarded.h"

namespace icon_panel {

std::string TooManyIconsText(std::int64_t shown, std::int64_t total) {
    return "图标太多，只显示了 " + std::to_string(shown) + " 个，共 " + std::to_string(total) + " 个";
}

std::string UndrawnIconsText(const std::string& name, std::int64_t counted, std::int64_t drawn) {
    const std::string missing = std::to_string(counted) + " 个图标中有 " + std::to_string(counted - drawn) + " 个无法显示";
    return name.empty() ? missing : name + "：" + missing;
}

void IconPanel::ShowIconsOfFile(std::int16_t position) {
    // The row may be gone once the load has yielded; what the status text
    // needs of it is taken now.
    std::string name;
    std::int64_t counted = 0;
    platform::Guarded([&] {
        const main_window::ListedFile& file = f.listedFiles.At(position);
        name = file.name;
        counted = file.icons;
    });
    ClearIcons();
    const RunToken::Run mine = run_.JoinFill();
    LoadIconsOfFile(position, true);
    if (run_.FillSuperseded(mine)) return;  // a newer command took the panel over
    const bool cut = f.CellsExhausted;
    ArrangeIcons();
    f.CellsExhausted = false;
    // Only now: the arrangement clears the status text.
    if (run_.FillSuperseded(mine)) return;
    if (cut) f.ShowStatus(TooManyIconsText(0, counted));
    else if (f.IconCount < counted) f.ShowStatus(UndrawnIconsText(name, counted, f.IconCount));
}

void IconPanel::ShowAllIcons() {
    f.fraIcons.setVisible(false);
    f.IconCount = 0;
    // This run owns the panel until a newer clear or show-all takes it.
    const RunToken::Run mine = run_.StartFill();
    // Row positions are 16-bit: rows past 32767 are not loaded.
    const std::int32_t n = std::min(f.File1.Count(), 32767);
    std::int64_t counted = 0;
    for (std::int32_t i = 1; i <= n; ++i) platform::Guarded([&] { counted += f.listedFiles.At(i).icons; });
    // The icons drawn before the file that found no more cells.
    std::optional<std::int32_t> shownBeforeCut;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t before = f.IconCount;
        LoadIconsOfFile(static_cast<std::int16_t>(i), false);
        f.DoEvents();
        if (run_.FillSuperseded(mine)) {
            f.fraIcons.setVisible(true);
            // A run that ran out of cells must not leave the next load blocked.
            f.CellsExhausted = false;
            return;
        }
        if (f.CellsExhausted) {
            shownBeforeCut = before;
            break;
        }
    }
    // A row that gave no icon, or no row at all, leaves cells of the view
    // before past the last one drawn.
    BlankCells(f.IconCount, f.picIcon.Count());
    ArrangeIcons();
    f.CellsExhausted = false;
    if (run_.FillSuperseded(mine)) return;
    if (shownBeforeCut) f.ShowStatus(TooManyIconsText(*shownBeforeCut, counted));
    else if (f.IconCount < counted) f.ShowStatus(UndrawnIconsText("", counted, f.IconCount));
}

}  // namespace icon_panel
