// The icon menu and the export of the selected icon.
#include "icon_panel.h"
#include "platform/icons/whole_icon.h"
#include "platform/paths.h"

namespace icon_panel {

void IconPanel::picIcon_MouseUp(std::int16_t, int button, int shift, float, float) { OpenIconMenu(button, shift); }

void IconPanel::fraIcons_MouseUp(int button, int shift, float, float) { OpenIconMenu(button, shift); }

// The release does not select what is under the pointer: the menu acts on the
// icon selected before.
void IconPanel::OpenIconMenu(int button, int shift) {
    if (button == platform::mouse::kRight && shift == 0 && f.SelectedIcon > -1) f.screen.PopupMenu(f.mnuTop(1));
}

void IconPanel::mnuIcons_Click(std::int16_t index) {
    if (index == 0) CopySelected();
    else if (index == 1) SaveSelected();
    else if (index == 2) SaveWholeSelected();
}

void IconPanel::CopySelected() {
    if (f.SelectedIcon <= -1) return;
    f.screen.ClipboardClear();
    f.screen.ClipboardSetImage(f.picIcon(platform::ToInt16(f.SelectedIcon)).Image());
}

void IconPanel::SaveSelected() {
    // Until the dialog has closed with a name, any failure ends the command
    // quietly; writing the file is what the user hears about.
    try {
        if (f.SelectedIcon <= -1) return;
        if (f.CD.FileName.empty()) f.CD.FileName = f.system.AppPath();
        f.CD.Filter = kSaveFilter;
        std::optional<std::string> chosen = f.screen.ShowSave(f.CD.FileName, f.CD.Filter);
        if (!chosen) return;
        f.CD.FileName = *chosen;
    } catch (const platform::Failure&) {
        return;
    }
    try {
        f.system.SavePicture(f.picIcon(platform::ToInt16(f.SelectedIcon)).Image(), f.CD.FileName);
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

void IconPanel::SaveWholeSelected() {
    // As with the picture: until a name is chosen a failure ends the command
    // quietly; the write is what the user hears about.
    std::optional<CellOrigin> origin;
    try {
        if (f.SelectedIcon <= -1) return;
        origin = OriginOf(f.SelectedIcon);
        if (!origin) return;
        const auto icon = f.system.DescribeIcon(origin->file, origin->index);
        // The dialog opens where the last save went, named after the icon's file.
        const std::string appPath = f.system.AppPath();
        std::string folder = appPath;
        if (!f.CD.FileName.empty() && f.CD.FileName != appPath) {
            const auto slash = f.CD.FileName.rfind('/');
            folder = slash == std::string::npos ? std::string() : f.CD.FileName.substr(0, slash == 0 ? 1 : slash);
        }
        const auto slash = origin->file.rfind('/');
        const std::string name = origin->file.substr(slash == std::string::npos ? 0 : slash + 1) + "." +
                                 std::to_string(origin->index) + (icon && icon->cursor ? ".cur" : ".ico");
        f.CD.Filter = kWholeIconFilter;
        const std::string first = platform::JoinPath(folder, name);
        std::optional<std::string> chosen = f.screen.ShowSave(first, f.CD.Filter);
        if (!chosen) return;
        f.CD.FileName = *chosen;
    } catch (const platform::Failure&) {
        return;
    }
    try {
        f.system.SaveWholeIcon(origin->file, origin->index, f.CD.FileName);
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

}  // namespace icon_panel
