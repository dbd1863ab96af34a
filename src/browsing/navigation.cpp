// Drive and folder navigation, the file list's clicks and sorting, and the
// command that shows every icon of the folder.
#include <charconv>
#include <cmath>

#include "browsing.h"
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
