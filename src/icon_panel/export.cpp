// The icon menu and the export of the selected icon.
#include "icon_panel.h"

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

}  // namespace icon_panel
