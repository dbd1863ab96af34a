// The size of the cells, and the icons drawn afresh at the size they are seen.
#include <algorithm>
#include <cmath>

#include "icon_panel.h"
#include "icons/icons.h"
#include "main_window/settings.h"
#include "platform/guarded.h"

namespace icon_panel {

using platform::Guarded;

void IconPanel::mnuIconSizes_Click(std::int16_t index) { SetCellSize(main_window::kCellSizes[index]); }

void IconPanel::SetCellSize(int pixels) {
    for (int k = 0; k < main_window::kCellSizeCount; ++k)
        f.mnuIconSizes(k).setChecked(main_window::kCellSizes[k] == pixels);
    if (pixels == f.CellPixels) return;
    f.CellPixels = pixels;
    // A settings file that cannot be written loses the choice, not the window.
    f.system.WriteSettings(main_window::WithSetting(f.system.ReadSettings(), main_window::kCellSizeKey,
                                                    std::to_string(pixels)));
    f.CellWidth = platform::ToInt32(f.Me.ScaleX(pixels, true));
    f.CellHeight = platform::ToInt32(f.Me.ScaleY(pixels, true));
    // Every cell, spare ones and the template included, so that cells a later
    // load makes or reuses have the new size too. The pictures the cells keep
    // stay as they were drawn; only what the screen shows changes.
    const std::int32_t last = f.picIcon.Count() - 1;
    for (std::int32_t k = 0; k <= last; ++k) Guarded([&] {
            platform::PictureBox& cell = f.picIcon(platform::ToInt16(k));
            cell.setWidth(static_cast<float>(f.CellWidth));
            cell.setHeight(static_cast<float>(f.CellHeight));
            // Its tooltip marks the image shown, which may be another one now.
            cell.setToolTipText("");
        });
    ArrangeIcons();
    Guarded([&] {
        if (f.SelectedIcon >= 0 && f.SelectedIcon < f.IconCount) ScrollIntoView(f.SelectedIcon);
    });
}

// One size up or down, as far as the sizes go.
void IconPanel::StepCellSize(int steps) {
    const int* sizes = main_window::kCellSizes;
    const int at = static_cast<int>(std::find(sizes, sizes + main_window::kCellSizeCount, f.CellPixels) - sizes);
    SetCellSize(sizes[std::clamp(at + steps, 0, main_window::kCellSizeCount - 1)]);
}

void IconPanel::Form_KeyDown(int keyCode, int shift) {
    namespace key = platform::key;
    if (shift != platform::mouse::kCtrl) return;
    if (keyCode == key::kAdd || keyCode == key::kOemPlus) StepCellSize(1);
    else if (keyCode == key::kSubtract || keyCode == key::kOemMinus) StepCellSize(-1);
}

void IconPanel::picIconHolder_MouseWheel(int notches, int shift) {
    if (shift == platform::mouse::kCtrl && notches != 0) StepCellSize(notches);
}

int IconPanel::ShownPixels() const {
    double ratio = 1;
    Guarded([&] { ratio = f.screen.DevicePixelRatio(); });
    return static_cast<int>(std::lround(f.CellPixels * std::max(ratio, 1.0)));
}

std::optional<pixels::Bitmap> IconPanel::CellPicture(std::int32_t cell, int pixels) const {
    const auto origin = OriginOf(cell);
    if (!origin || pixels <= 0) return std::nullopt;
    std::optional<icons::Icon> icon;
    Guarded([&] { icon = f.system.ExtractIcon(origin->file, origin->index, pixels); });
    if (!icon) return std::nullopt;
    pixels::Bitmap picture(pixels, pixels, f.picIcon(platform::ToInt16(cell)).BackColor());
    icons::DrawIcon(picture, 0, 0, *icon);
    return picture;
}

pixels::Bitmap IconPanel::SelectedPicture() const {
    const platform::PictureBox& cell = f.picIcon(platform::ToInt16(f.SelectedIcon));
    // The standard cell is the picture it keeps, exactly as drawn.
    if (f.CellPixels == icons::kStandardIconSize) return cell.Image();
    if (auto picture = CellPicture(f.SelectedIcon, f.CellPixels)) return std::move(*picture);
    return cell.Image();
}

}  // namespace icon_panel
