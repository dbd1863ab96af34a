#pragma once
// The one window of the program: its controls as designed, its popup menus,
// the form-level state, the status bar, the selection frame, start-up,
// shut-down and the layout on resize.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "listed_files.h"
#include "menu_skin.h"
#include "platform/controls/controls.h"
#include "platform/screen.h"
#include "platform/system.h"

namespace main_window {

// The program's own page, opened by the icon menu's last item: it ships with
// the program, so it is there without a network and says what this version
// does. Run from the build tree it lies beside the program; installed, among
// the documentation (the program in PREFIX/bin, the page in PREFIX/share/doc).
inline constexpr const char* kProgramPageName = "index.html";
inline constexpr const char* kInstalledPageFolder = "share/doc/tessel-icons";
// The page's file:// address, found from the program's folder.
std::string ProgramPageUrl(platform::System& system);

inline constexpr const char* kCaption = "Tessel保存文件图标";

// The items of the icon menu's control array mnuIcons.
inline constexpr int kIconMenuItems = 7;

// The sides a cell can have, in pixels, smallest first: the standard 32 and
// the larger ones the icon menu's "图标大小" offers.
inline constexpr int kCellSizes[] = {32, 48, 64, 128, 256};
inline constexpr int kCellSizeCount = 5;
// The cell size a settings value names; anything but one of kCellSizes is 32.
int CellSizeOf(const std::optional<std::string>& value);
inline constexpr const char* kNoFilesText = "无法查找当前目录图标或当前目录图标无效。";

// The minimum outer size of the window, in twips.
inline constexpr int kMinWidth = 8535;
inline constexpr int kMinHeight = 6500;

// The Save dialog's state: it lives as long as the window, so the name chosen
// in one save starts the next.
struct CommonDialog {
    std::string FileName;
    std::string Filter;
};

class frmMain {
public:
    frmMain(platform::Screen& screen, platform::System& system);
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    platform::Screen& screen;
    platform::System& system;

    // The cells' spare images; declared before the cells, which give theirs
    // back when they are destroyed.
    platform::BitmapPool cellImages;

    // Controls, in creation order.
    platform::Window Me;  // the window itself
    platform::Timer Timer1;
    platform::Frame fraNoFiles;
    platform::Label lblNoFiles;
    CommonDialog CD;
    platform::PictureBox picIconHolder;
    platform::Frame fraIconHolder;
    platform::ScrollBar VS;
    platform::Frame fraIcons;
    platform::ControlArray<platform::PictureBox> picIcon;
    platform::ControlArray<platform::Line> lnFrame;
    platform::PictureBox picStatus;
    platform::ProgressBar progbar;
    platform::Label lblStatus;
    platform::DirList Dir1;
    platform::DriveList Drive1;
    platform::ListView File1;
    // The files behind File1's rows.
    ListedFiles listedFiles{File1};

    // Popup menus: mnuTop(1) the icon menu, mnuTop(2) the folder menu.
    platform::Menu& mnuTop(int index);
    platform::Menu& mnuIcons(int index);
    platform::Menu& mnuDirectories(int index);
    platform::Menu& mnulin2() { return *mnulin2_; }
    platform::Menu& mnutesselblog() { return *mnutesselblog_; }
    platform::Menu& mnulin3() { return *mnulin3_; }
    // Lists the other program files that carry icons too; the choice is kept
    // between runs.
    platform::Menu& mnuAllProgramFiles() { return *mnuAllProgramFiles_; }
    // Lists the files of every folder below the shown one too; kept between runs.
    platform::Menu& mnuIncludeSubfolders() { return *mnuIncludeSubfolders_; }
    platform::Menu& mnuIncludeCursors() { return *mnuIncludeCursors_; }
    // The icon menu's "图标大小" and its items, one for each of kCellSizes.
    platform::Menu& mnuIconSize() { return *mnuIconSize_; }
    platform::Menu& mnuIconSizes(int index);
    const MenuSkin ctxChromabar1{};

    // Events of the cell array, raised with the element's index.
    platform::Event<int> picIconClick;
    platform::Event<int, int, int, float, float> picIconMouseUp;    // Index, Button, Shift, X, Y
    platform::Event<int, int, int, float, float> picIconMouseMove;  // Index, Button, Shift, X, Y

    // Form-level state.
    std::int32_t SelectedIcon = 0;
    std::int32_t IconCount = 0;
    std::int32_t TotalIcons = 0;
    bool CellsExhausted = false;
    std::int32_t CellWidth = 0;
    std::int32_t CellHeight = 0;
    // The cells' side in pixels, which CellWidth and CellHeight convert; kept between runs.
    int CellPixels = 32;

    // The selection frame.
    void SetFrameLine(platform::Line& line, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void ShowSelectionFrame(bool show);

    // The status bar.
    void ShowStatus(std::string text);
    void ShowProgress(std::int32_t value, std::int32_t max);

    // Lets pending events run. When the window was closed in the meantime,
    // throws platform::ProgramEnded instead of returning: the handler that
    // yielded must not go on reading files and making cells for a window that
    // is gone.
    void DoEvents();

    // Life cycle and layout.
    void Form_Load();
    void Form_Unload();
    void Timer1_Timer();
    void mnutesselblog_Click();
    void Form_Resize();

    // Lays the cells out again; the last step of every resize. Set by the
    // icon panel, which owns the grid.
    std::function<void()> ArrangeIcons;

    // True once the program has ended; views drop input after it.
    bool Ended() const { return ended_; }

private:
    std::unique_ptr<platform::Menu> mnuTop1_, mnuTop2_;
    platform::Menu* mnuIcons_[kIconMenuItems] = {};
    platform::Menu* mnulin2_ = nullptr;
    platform::Menu* mnutesselblog_ = nullptr;
    platform::Menu* mnuDirectories0_ = nullptr;
    platform::Menu* mnulin3_ = nullptr;
    platform::Menu* mnuAllProgramFiles_ = nullptr;
    platform::Menu* mnuIncludeSubfolders_ = nullptr;
    platform::Menu* mnuIncludeCursors_ = nullptr;
    platform::Menu* mnuIconSize_ = nullptr;
    platform::Menu* mnuIconSizes_[kCellSizeCount] = {};
    bool ended_ = false;
};

}  // namespace main_window
