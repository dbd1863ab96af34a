#include "tessel_window.h"

namespace app {

TesselWindow::TesselWindow(platform::Screen& screen, platform::System& system)
    : form(screen, system), panel(form), browsing(form, panel) {
    main_window::frmMain& f = form;

    f.ArrangeIcons = [this] { panel.ArrangeIcons(); };
    f.picIconClick.connect([this](int i) { panel.picIcon_Click(static_cast<std::int16_t>(i)); });
    f.picIconMouseUp.connect([this](int i, int b, int s, float x, float y) {
        panel.picIcon_MouseUp(static_cast<std::int16_t>(i), b, s, x, y);
    });
    f.picIconMouseMove.connect([this](int i, int b, int s, float x, float y) {
        panel.picIcon_MouseMove(static_cast<std::int16_t>(i), b, s, x, y);
    });
    f.fraIcons.MouseUp.connect([this](int b, int s, float x, float y) { panel.fraIcons_MouseUp(b, s, x, y); });
    f.VS.Change.connect([this] { panel.VS_Change(); });
    f.VS.Scroll.connect([this] { panel.VS_Scroll(); });
    f.VS.GotFocus.connect([this] { panel.VS_GotFocus(); });
    f.picIconHolder.KeyDown.connect([this](int k, int s) { panel.picIconHolder_KeyDown(k, s); });
    f.mnuIcons(0).Click.connect([this] { panel.mnuIcons_Click(0); });
    f.mnuIcons(1).Click.connect([this] { panel.mnuIcons_Click(1); });
    f.mnuIcons(2).Click.connect([this] { panel.mnuIcons_Click(2); });
    for (const int k : {4, 5, 6}) f.mnuIcons(k).Click.connect([this, k] { panel.mnuIcons_Click(static_cast<std::int16_t>(k)); });
    for (int k = 0; k < main_window::kCellSizeCount; ++k)
        f.mnuIconSizes(k).Click.connect([this, k] { panel.mnuIconSizes_Click(static_cast<std::int16_t>(k)); });
    f.picIconHolder.MouseWheel.connect([this](int n, int s) { panel.picIconHolder_MouseWheel(n, s); });

    f.Drive1.Change.connect([this] { browsing.Drive1_Change(); });
    f.Dir1.Change.connect([this] { browsing.Dir1_Change(); });
    f.Dir1.OpenFailed.connect([this](const std::string& folder) { browsing.Dir1_OpenFailed(folder); });
    f.Dir1.MouseUp.connect([this](int b, int s, float x, float y) { browsing.Dir1_MouseUp(b, s, x, y); });
    f.File1.ItemClick.connect([this](platform::ListItem& item) { browsing.File1_ItemClick(item); });
    f.File1.ColumnClick.connect([this](int n) { browsing.File1_ColumnClick(n); });
    f.mnuDirectories(0).Click.connect([this] { browsing.mnuDirectories_Click(0); });
    f.mnuAllProgramFiles().Click.connect([this] { browsing.mnuAllProgramFiles_Click(); });
    f.mnuIncludeSubfolders().Click.connect([this] { browsing.mnuIncludeSubfolders_Click(); });
    f.mnuIncludeCursors().Click.connect([this] { browsing.mnuIncludeCursors_Click(); });
    // The window's keys: the folder's (F5) and the cells' size (Ctrl with plus or minus).
    f.Me.KeyDown.connect([this](int k, int s) {
        browsing.Form_KeyDown(k, s);
        panel.Form_KeyDown(k, s);
    });
    f.Me.OLEDragDrop.connect([this](const std::string& path) { browsing.Form_OLEDragDrop(path); });
}

}  // namespace app
