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

// "文件名称 (12)"
std::string FileColumnHeader(int rows);

// The text after the first dot of a name, upper-cased; empty when there is no dot.
std::string ExtensionOf(const std::string& name);
bool IsIconFileExtension(const std::string& upperExtension);

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

private:
    bool ShownFolderGone();
    void MoveToNearestFolder();
    void ReportCannotOpen(std::string folder);

    main_window::frmMain& f;
    icon_panel::IconPanel& panel;
    // The drive the folder view last moved to, for putting a failed choice back.
    std::string drive_;
};

}  // namespace browsing
