#pragma once
// The icon panel: the cells and the selection, extraction of a file's icons
// into cells, the grid and its scrolling, and the icon menu that exports the
// selected icon.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/grid_layout.h"
#include "main_window/frm_main.h"
#include "icons/version_info.h"
#include "icons/whole_icon.h"
#include "pixels/bitmap.h"

namespace icon_panel {

// The Save dialog's filter, display text and pattern in pairs.
inline constexpr const char* kSaveFilter = "GIF (*.gif)|*.gif|JPEG (*.jpeg)|*.jpeg|ICO (*.ico)|*.ico|BMP (*.bmp)|*.bmp|PNG (*.png)|*.png";
inline constexpr const char* kSaveError = "错误";
inline constexpr const char* kWholeIconFilter = "ICO 完整图标 (*.ico)|*.ico|PNG 原始尺寸 (*.png)|*.png";
inline constexpr const char* kImageFilter = "PNG (*.png)|*.png";
inline constexpr const char* kSavingText = "保存图标 ";
inline constexpr const char* kLoadingText = "读取窗体 ";
inline constexpr const char* kArrangingText = "定位图标";
inline constexpr const char* kAppIconNamePrompt = "应用图标的名称：";
inline constexpr const char* kBadAppIconNameText = "名称不能为空，不能含有“/”，也不能以“.”开头。";
inline constexpr const char* kNeedsWineText = "需要 Wine";

// Where a cell's icon came from: the file, and the icon's index in it.
struct CellOrigin {
    std::string file;
    int index = 0;
    bool operator==(const CellOrigin&) const = default;
};

// What the tooltip of a cell says: the file's name, where its icons came
// from when not from the file ("来自 SystemResources/shell32.dll.mun"), the
// program's line (for a program with a version resource), the icon's index,
// and its images in group order, the one the cell shows marked.
std::string CellToolTip(const CellOrigin& origin, const std::optional<icons::IconDescription>& icon,
                        const std::optional<icons::VersionInfo>& version = std::nullopt, const std::string& from = "");
// A program's line: "说明：…  产品：…  版本：…", the Chinese strings where the
// resource has them, else the English or neutral ones; the parts it lacks left
// out; "" when it has none of them.
std::string ProgramText(const icons::VersionInfo& version);
// One image as the tooltip and the image menu name it: "256×256 PNG", "48×48 32位".
std::string ImageText(const icons::ImageDescription& image);
// The status text at the end of saving every icon: "已保存 12 个图标".
std::string SavedIconsText(std::int64_t saved);
// The status text after installing an application icon: "已安装图标 np：9 个尺寸".
std::string InstalledIconText(const std::string& name, std::int64_t sizes);

// What the status bar says when a command could not show every icon the
// list counted: "图标太多，只显示了 32767 个，共 33000 个" when the cells ran
// out, "a.exe：3 个图标中有 2 个无法显示" when some could not be drawn
// (without the name for the icons of a whole folder).
std::string TooManyIconsText(std::int64_t shown, std::int64_t total);
std::string UndrawnIconsText(const std::string& name, std::int64_t counted, std::int64_t drawn);

// How far the selection frame stands outside its cell, in twips.
inline constexpr int kFrameMargin = 18;

class IconPanel {
public:
    explicit IconPanel(main_window::frmMain& form);

    // Cells and selection
    void ClearIcons();
    void SelectIcon(std::int32_t index);
    void picIcon_Click(std::int16_t index);
    // The file and icon index cell `index` was filled from; nullopt for a cell
    // that is blank or was cleared since.
    std::optional<CellOrigin> OriginOf(std::int32_t index) const;
    // Fills in the cell's tooltip the first time the pointer comes over it.
    void picIcon_MouseMove(std::int16_t index, int button, int shift, float x, float y);

    // Appends the icons of the file at list position `itemIndex` to the cells.
    void LoadIconsOfFile(std::int16_t itemIndex, bool hideCanvas);

    // The commands that fill the panel, each a whole step: what was shown
    // before goes, the icons are loaded and laid out, and a run that ran out
    // of cells no longer blocks the next load.
    // When a command could not show all the icons the list counts, the
    // status text says so at its end.
    // The icons of the file at list position `position` alone.
    void ShowIconsOfFile(std::int16_t position);
    // The icons of every listed file in one grid, yielding after each file.
    void ShowAllIcons();

    // Grid and scrolling
    void ArrangeIcons();
    void VS_Change();
    void VS_Scroll();
    void VS_GotFocus();

    // The keyboard over the grid, while the viewport has the focus: the
    // arrows move the selection by one cell or one row, Home and End to the
    // first and last icon, the page keys by a viewport's worth of rows.
    void picIconHolder_KeyDown(int keyCode, int shift);

    // The size of the cells: the icon menu's "图标大小", Ctrl with plus or
    // minus anywhere in the window, and Ctrl with the wheel over the icons
    // step through kCellSizes. The grid is laid out again at once, the
    // selection kept and scrolled into view; the choice is kept between runs.
    void mnuIconSizes_Click(std::int16_t index);
    void SetCellSize(int pixels);
    void Form_KeyDown(int keyCode, int shift);
    void picIconHolder_MouseWheel(int notches, int shift);
    // The device pixels a cell's side has on the screen: its size times the
    // screen's scale.
    int ShownPixels() const;
    // Cell `cell`'s icon drawn afresh at `pixels` x `pixels` on the cell's
    // background, from the image chosen for that size; nullopt for a cell
    // from nowhere or an icon that can no longer be read. A cell keeps only
    // its standard picture: a view draws it at the size it shows it with this.
    std::optional<pixels::Bitmap> CellPicture(std::int32_t cell, int pixels) const;

    // The icon menu and export
    void picIcon_MouseUp(std::int16_t index, int button, int shift, float x, float y);
    void fraIcons_MouseUp(int button, int shift, float x, float y);
    void mnuIcons_Click(std::int16_t index);

private:
    // Which run of work the panel is doing. Work that yields can be overtaken
    // by a command the user gives inside the yield; at its next yield it asks
    // the token, and when a newer run has started it stops and leaves the
    // panel to that run:
    //  - clearing the panel (a new folder, a click on a file) supersedes every
    //    load, show-all and arrangement in progress;
    //  - a show-all supersedes the loads and the show-all in progress;
    //  - an arrangement (a resize, the end of a command) supersedes only the
    //    arrangement in progress: a load or a show-all goes on with the cells
    //    as they are and lays them out again at its end.
    class RunToken {
    public:
        using Run = std::uint64_t;
        void Clear() {
            ++fill_;
            ++arrangement_;
        }
        Run StartFill() { return ++fill_; }
        // A load joins the fill in progress, so that a show-all's own loads
        // do not stop it.
        Run JoinFill() const { return fill_; }
        bool FillSuperseded(Run run) const { return run != fill_; }
        Run StartArrangement() { return ++arrangement_; }
        bool ArrangementSuperseded(Run run) const { return run != arrangement_; }

    private:
        Run fill_ = 0;
        Run arrangement_ = 0;
    };

    std::int32_t CellsPerRow();
    std::int32_t RowsPerPage();
    void ScrollIntoView(std::int32_t index);

    void StepCellSize(int steps);
    // What Copy and the picture save give: the selected cell at the cell size.
    pixels::Bitmap SelectedPicture() const;

    void OpenIconMenu(int button, int shift);
    void CopySelected();
    void SaveSelected();
    void SaveWholeSelected();
    void FillImageMenu();
    void SaveImageOfSelected(int k);
    // The selected cell's icon and the name the user chose for it, the dialog
    // proposing `nameOf` the icon in the folder saves go to; nullopt when
    // there is nothing to save or the user cancelled.
    std::optional<std::pair<CellOrigin, std::string>> AskWhereToSaveSelected(
        const std::function<std::string(const CellOrigin&)>& nameOf, const char* filter);
    void SaveAllIcons();
    void FillInstallItems();
    // The selected icon as an application icon under a name the user
    // confirms; with `launcher`, and a menu entry for its program.
    void InstallSelected(bool launcher);
    std::string SaveFolder();
    void Remember(std::int32_t cell, CellOrigin origin);
    void Forget(std::int32_t cell);
    // Cells `first` up to `end` - 1 (those that exist) blank, and from nowhere.
    void BlankCells(std::int32_t first, std::int32_t end);

    main_window::frmMain& f;
    // Twips the canvas moves for one step of the scroll bar. One, unless the
    // grid is taller than the bar's 16-bit range can reach in twips: then the
    // bar counts coarser steps, so the last rows can still be scrolled to.
    std::int32_t scrollUnit_ = 1;
    std::int32_t scrollRange_ = 0;  // how far the canvas can move up, in twips
    RunToken run_;
    // Indexed by cell; a cell past the end or holding nullopt came from nowhere.
    std::vector<std::optional<CellOrigin>> origins_;
    // Where the last save went; empty before the first.
    std::string saveFolder_;
    bool savingAll_ = false;
};

}  // namespace icon_panel
