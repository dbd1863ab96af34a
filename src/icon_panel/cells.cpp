// The cells and the selection frame.
#include "icon_panel.h"

namespace icon_panel {

IconPanel::IconPanel(main_window::frmMain& form) : f(form) {}

void IconPanel::ClearIcons() {
    run_.Clear();
    const std::int16_t last = platform::ToInt16(f.picIcon.Count() - 1);
    for (std::int32_t i = 0; i <= last; ++i) f.picIcon(i).Cls();
    f.fraIcons.setTop(0);
    scrollUnit_ = 1;
    f.VS.setMin(0);
    f.VS.setMax(0);
    f.VS.setValue(0);
    f.IconCount = 0;
    f.SelectedIcon = -1;
    f.ShowSelectionFrame(false);
}

void IconPanel::SelectIcon(std::int32_t index) {
    platform::PictureBox& cell = f.picIcon(platform::ToInt16(index));
    const auto frameLine = [&](int line, double x1, double y1, double x2, double y2) {
        f.SetFrameLine(f.lnFrame(line), platform::ToInt32(x1), platform::ToInt32(y1), platform::ToInt32(x2),
                       platform::ToInt32(y2));
    };
    // Each line reads the cell afresh, as the cell may move in between.
    const auto L = [&] { return static_cast<double>(cell.Left()); };
    const auto T = [&] { return static_cast<double>(cell.Top()); };
    const auto W = [&] { return static_cast<double>(cell.Width()); };
    const auto H = [&] { return static_cast<double>(cell.Height()); };
    const double m = kFrameMargin;
    frameLine(0, L() - m, T() - m, L() + W() + m, T() - m);
    frameLine(1, L() - m, T() - m, L() - m, T() + H() + m);
    frameLine(2, L() + W(), T() - m, L() + W(), T() + H() + m);
    frameLine(3, L() - m, T() + H(), L() + W() + m, T() + H());
}

void IconPanel::picIcon_Click(std::int16_t index) {
    f.SelectedIcon = index;
    SelectIcon(index);
}

}  // namespace icon_panel
