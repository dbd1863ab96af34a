// Extraction of a file's icons into the cells.
#include <charconv>
#include <cmath>

#include "icon_panel.h"
#include "platform/guarded.h"
#include "icons/icons.h"

namespace icon_panel {

using platform::Guarded;

namespace {

// The count column's text as a number; anything but a number fails.
double ParseNumber(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data() + b, text.data() + e, v);
    if (b == e || ec != std::errc() || end != text.data() + e || !std::isfinite(v))
        throw platform::Failure("type mismatch");
    return v;
}

}  // namespace

void IconPanel::LoadIconsOfFile(std::int16_t itemIndex, bool hideCanvas) {
    if (f.CellsExhausted) return;
    const RunToken::Run mine = run_.JoinFill();
    const auto superseded = [&] {
        if (!run_.FillSuperseded(mine)) return false;
        // Whatever ran inside the yield has finished; the canvas is not ours to keep hidden.
        if (hideCanvas) Guarded([&] { f.fraIcons.setVisible(true); });
        return true;
    };

    Guarded([&] {
        if (hideCanvas) f.fraIcons.setVisible(false);
    });

    std::string filePath;
    Guarded([&] { filePath = f.listedFiles.At(itemIndex).path; });

    std::int32_t neededCells = 0;
    Guarded([&] {
        neededCells = platform::ToInt32(ParseNumber(f.File1.Item(itemIndex).SubItem(1)) + f.IconCount);
    });
    if (neededCells <= f.IconCount) return;

    // Grow, then trim: all cells exist before any is drawn.
    for (std::int32_t n = f.picIcon.Count(); n < neededCells; ++n) {
        // Past the highest index every creation fails alike; stop asking.
        if (n > platform::ControlArray<platform::PictureBox>::kMaxIndex) break;
        Guarded([&] { f.picIcon.Load(n); });
    }
    for (std::int32_t n = f.picIcon.Count(); n > neededCells; --n) Guarded([&] {
            f.picIcon.Unload(n - 1);
            Forget(n - 1);
        });

    if (neededCells > f.picIcon.Count()) {
        f.IconCount = f.picIcon.Count();
        f.CellsExhausted = true;
        Guarded([&] {
            if (hideCanvas) f.fraIcons.setVisible(true);
        });
        return;
    }

    Guarded([&] { f.ShowStatus(kLoadingText + f.File1.Item(itemIndex).Text()); });
    Guarded([&] { f.ShowProgress(0, neededCells - f.IconCount); });
    if (superseded()) return;

    std::int16_t iconIndex = 0;
    std::int32_t nextCell = f.IconCount;
    const std::int32_t icons = neededCells - f.IconCount;
    for (std::int32_t pass = 0; pass < icons; ++pass) {
        Guarded([&] {
            f.picIcon(platform::ToInt16(nextCell)).Cls();
            Forget(nextCell);
        });
        std::optional<icons::Icon> icon;
        Guarded([&] { icon = f.system.ExtractIcon(filePath, iconIndex, icons::kStandardIconSize); });
        Guarded([&] {
            if (!icon) return;
            platform::PictureBox& cell = f.picIcon(platform::ToInt16(nextCell));
            // The standard picture, whatever size the cell is shown at.
            cell.DrawAt(icons::kStandardIconSize, icons::kStandardIconSize,
                        [&](pixels::Bitmap& image) { icons::DrawIcon(image, 0, 0, *icon); });
            icon.reset();
            Remember(nextCell, {filePath, iconIndex});
            cell.setVisible(true);
            ++nextCell;
        });
        Guarded([&] { f.ShowProgress(iconIndex, -1); });
        if (superseded()) return;
        Guarded([&] { iconIndex = platform::ToInt16(iconIndex + 1); });
    }

    // Icons the row counts but the file no longer gives leave cells behind the
    // last one drawn; they must not go on showing, or answering for, an icon
    // of the view before.
    BlankCells(nextCell, neededCells);

    Guarded([&] { f.ShowStatus(""); });
    Guarded([&] { f.ShowProgress(0, 0); });
    if (superseded()) return;
    f.SelectedIcon = 0;
    Guarded([&] { SelectIcon(f.SelectedIcon); });
    Guarded([&] { f.ShowSelectionFrame(true); });
    f.IconCount = nextCell;
    Guarded([&] {
        if (hideCanvas) f.fraIcons.setVisible(true);
    });
}

}  // namespace icon_panel
