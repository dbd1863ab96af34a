#pragma once
// The browsing side: the scan of the current folder for icon files, drive and
// folder navigation, the file list's clicks and sorting, and the command that
// shows every icon of the folder.

#include <cstdint>
#include <string>

#include "icon_panel/icon_panel.h"
#include "main_window/frm_main.h"

namespace browsing {

inline constexpr const char* kReadingListText = "读取文件列表...";
inline constexpr const char* kConfirmAllText = "你选择的目录确定要全部读取图标？";
inline constexpr int kConfirmAbove = 1000;
inline constexpr const char* kCannotOpenFolderText = "无法打开文件夹：";
// A file opened from outside that the scan did not list.
inline constexpr const char* kCannotShowFileText = "无法显示文件图标：";
// Rows are 16-bit positions: a tree scan lists no more than this.
inline constexpr int kMaxRows = 32767;
inline constexpr const char* kTooManyFilesText = "文件太多，只列出了 32767 个";

// "文件名称 (12)"
std::string FileColumnHeader(int rows);

// The text after the first dot of a name, upper-cased; empty when there is no dot.
std::string ExtensionOf(const std::string& name);
bool IsIconFileExtension(const std::string& upperExtension);
// Whether the name ends in one of the endings of the other program files that
// carry icons (.cpl, .ocx, .scr, .mun, .icl, .ani), in any case; listed only
// while "所有程序文件" is on.
bool IsOtherProgramFile(const std::string& name);

// The folder with exactly one trailing separator.
std::string ScanFolderOf(const std::string& path);

class Browsing {
public:
    Browsing(main_window::frmMain& form, icon_panel::IconPanel& panel);

    void ListIconFiles();

    void Drive1_Change();
    void Dir1_Change();
    void Dir1_MouseUp(int button, int shift, float x, float y);
    void Dir1_OpenFailed(const std::string& folder);

    void File1_ItemClick(platform::ListItem& item);
    void File1_ColumnClick(int columnIndex);

    void mnuDirectories_Click(std::int16_t index);
    void mnuAllProgramFiles_Click();
    void mnuIncludeSubfolders_Click();
    void mnuIncludeCursors_Click();

    // Opens a file or folder handed over from outside the window (the
    // command line, a drop): a folder as if chosen in the lists, a file as
    // its folder with its row clicked.
    void OpenPath(const std::string& path);
    void Form_KeyDown(int keyCode, int shift);
    void Form_OLEDragDrop(const std::string& path);

private:
    bool ShownFolderGone();
    void MoveToNearestFolder();
    void ReportCannotOpen(std::string folder);
    // Flips a checkable item of the folder menu, keeps it under `key` and rescans.
    void ToggleAndRescan(platform::Menu& item, const char* key);

    main_window::frmMain& f;
    icon_panel::IconPanel& panel;
    // The drive the folder view last moved to, for putting a failed choice back.
    std::string drive_;
    // The folder (as the scan names it) for which a file opened from outside
    // turned "所有程序文件" on; empty when the tick is the user's own.
    std::string programFilesFolder_;
    // Counts the scans started; a tree scan whose number is no longer the
    // last has been overtaken by a rescan of the same folder.
    std::uint64_t scans_ = 0;
};

}  // namespace browsing
