// Drive and folder navigation, the file list's clicks and sorting, and the
// command that shows every icon of the folder.
#include <charconv>
#include <cmath>

#include "browsing.h"
#include "main_window/settings.h"
#include "platform/guarded.h"
#include "platform/paths.h"

namespace browsing {

using platform::Guarded;

void Browsing::Drive1_Change() {
    const std::string drive = f.Drive1.Drive();
    try {
        f.Dir1.setPath(drive);
        drive_ = drive;
    } catch (const platform::Failure&) {
        // A drive that cannot be opened: both lists stay where they were.
        f.Drive1.showDrive(drive_);
        ReportCannotOpen(drive);
    }
}

void Browsing::Dir1_Change() { ListIconFiles(); }

void Browsing::Dir1_OpenFailed(const std::string& folder) { ReportCannotOpen(folder); }

// The lists go to the nearest folder that is still there, so that nothing of
// a vanished folder stays listed, and the status text says what happened;
// after the move, whose scan clears the status text.
void Browsing::ReportCannotOpen(std::string folder) {
    MoveToNearestFolder();
    f.ShowStatus(kCannotOpenFolderText + folder);
}

bool Browsing::ShownFolderGone() { return !f.system.ResolveFolder(f.Dir1.Path(), f.Dir1.Path()); }

void Browsing::MoveToNearestFolder() {
    std::string nearest = f.Dir1.Path();
    while (nearest != "/" && !f.system.ResolveFolder(nearest, nearest)) nearest = platform::ParentFolderOf(nearest);
    Guarded([&] { f.Dir1.setPath(nearest); });
}

void Browsing::Dir1_MouseUp(int button, int shift, float, float) {
    if (button == platform::mouse::kRight && shift == 0) f.screen.PopupMenu(f.mnuTop(2));
}

void Browsing::File1_ItemClick(platform::ListItem& item) {
    // Positions past 16 bits are beyond what the loader takes: nothing happens.
    if (item.Index() > 32767) return;
    panel.ShowIconsOfFile(static_cast<std::int16_t>(item.Index()));
    // Icons that could not be read may be the first sign that the folder
    // itself went away since it was listed.
    if (ShownFolderGone()) ReportCannotOpen(f.Dir1.Path());
}

void Browsing::File1_ColumnClick(int columnIndex) {
    const int k = columnIndex;
    if (f.File1.SortKey() == k - 1) {
        f.File1.setSortOrder(f.File1.SortOrder() == 0 ? 1 : 0);
    } else {
        f.File1.setSortOrder(0);
        f.File1.setSortKey(k - 1);
    }
}

void Browsing::mnuAllProgramFiles_Click() {
    programFilesFolder_.clear();
    ToggleAndRescan(f.mnuAllProgramFiles(), main_window::kAllProgramFilesKey);
}

void Browsing::mnuIncludeSubfolders_Click() { ToggleAndRescan(f.mnuIncludeSubfolders(), main_window::kIncludeSubfoldersKey); }

void Browsing::ToggleAndRescan(platform::Menu& item, const char* key) {
    item.setChecked(!item.Checked());
    // Kept for the next run; settings that cannot be written cost only that.
    const std::string settings = f.system.ReadSettings();
    f.system.WriteSettings(main_window::WithSetting(settings, key, item.Checked() ? "true" : "false"));
    ListIconFiles();
}

void Browsing::mnuIncludeCursors_Click() {
    // Every count in the list changes with it: the system counts by it before the rescan.
    f.system.setIncludeCursors(!f.mnuIncludeCursors().Checked());
    ToggleAndRescan(f.mnuIncludeCursors(), main_window::kIncludeCursorsKey);
}

void Browsing::Form_KeyDown(int keyCode, int shift) {
    if (keyCode == platform::key::kF5 && shift == 0) ListIconFiles();
}

void Browsing::Form_OLEDragDrop(const std::string& path) { OpenPath(path); }

void Browsing::OpenPath(const std::string& path) {
    std::string folder = path, name;
    if (!f.system.ResolveFolder(f.Dir1.Path(), path) && f.system.FileExists(path)) {
        const auto slash = path.rfind('/');
        folder = slash == 0 ? "/" : path.substr(0, slash == std::string::npos ? 0 : slash);
        name = path.substr(slash + 1);
    }
    const std::optional<std::string> target = f.system.ResolveFolder(f.Dir1.Path(), folder);
    if (!target) {
        f.ShowStatus(kCannotOpenFolderText + path);
        return;
    }
    // The user asked for this very file, so its kind is listed; in its folder
    // only, since it was not the user's choice in the menu.
    if (!f.mnuAllProgramFiles().Checked() && !IsIconFileExtension(ExtensionOf(name)) && IsOtherProgramFile(name)) {
        f.mnuAllProgramFiles().setChecked(true);
        programFilesFolder_ = ScanFolderOf(*target);
    }

    f.Drive1.showDrive(platform::DriveOf(*target, f.Drive1.List()));
    drive_ = f.Drive1.Drive();
    if (*target == f.Dir1.Path())
        ListIconFiles();
    else
        f.Dir1.setPath(*target);
    // Another folder chosen during the scan's yields has the last word.
    if (name.empty() || f.Dir1.Path() != *target) return;

    for (int i = 1; i <= f.File1.Count(); ++i) {
        if (f.listedFiles.At(i).name != name) continue;
        platform::ListItem& row = f.File1.Item(i);
        f.File1.setSelectedItem(row);
        File1_ItemClick(row);
        return;
    }
    // Not an icon file, or one without icons: the folder is shown, and why
    // nothing of the file is.
    f.ShowStatus(kCannotShowFileText + name);
}

namespace {
double HeaderNumber(const std::string& text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) throw platform::Failure("type mismatch");
    return v;
}
}  // namespace

void Browsing::mnuDirectories_Click(std::int16_t index) {
    if (index != 0) return;
    const double total = std::floor(HeaderNumber(f.File1.ColumnText(2)));
    if (total > kConfirmAbove) {
        const int answer = f.screen.MsgBox(
            kConfirmAllText, platform::msgbox::kYesNo + platform::msgbox::kCritical + platform::msgbox::kDefaultButton1);
        if (answer != platform::msgbox::kYes) return;
    }
    panel.ShowAllIcons();
    if (ShownFolderGone()) ReportCannotOpen(f.Dir1.Path());
}

}  // namespace browsing
