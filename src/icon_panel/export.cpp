// The icon menu and the export of the selected icon, of one of its images, or
// of every icon the grid shows.
#include <functional>
#include <utility>

#include "icon_panel.h"
#include "platform/guarded.h"
#include "icons/whole_icon.h"
#include "platform/paths.h"

namespace icon_panel {

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void IconPanel::picIcon_MouseUp(std::int16_t, int button, int shift, float, float) { OpenIconMenu(button, shift); }

void IconPanel::fraIcons_MouseUp(int button, int shift, float, float) { OpenIconMenu(button, shift); }

// The release does not select what is under the pointer: the menu acts on the
// icon selected before.
void IconPanel::OpenIconMenu(int button, int shift) {
    if (button == platform::mouse::kRight && shift == 0 && f.SelectedIcon > -1) {
        FillImageMenu();
        FillInstallItems();
        f.screen.PopupMenu(f.mnuTop(1));
    }
}

void IconPanel::FillImageMenu() {
    platform::Menu& menu = f.mnuIcons(3);
    menu.ClearItems();
    std::optional<icons::IconDescription> icon;
    if (const auto origin = OriginOf(f.SelectedIcon))
        platform::Guarded([&] { icon = f.system.DescribeIcon(origin->file, origin->index, icons::kStandardIconSize); });
    const std::size_t images = icon ? icon->images.size() : 0;
    for (std::size_t k = 0; k < images; ++k) {
        const int image = static_cast<int>(k);
        platform::Menu& item = menu.Add(
            std::make_unique<platform::Menu>("mnuImages", &menu, image, ImageText(icon->images[k])));
        item.Click.connect([this, image] { SaveImageOfSelected(image); });
    }
    // A blank cell, or an icon that can no longer be read, has no image to offer.
    menu.setEnabled(images > 0);
}

void IconPanel::mnuIcons_Click(std::int16_t index) {
    if (index == 0) CopySelected();
    else if (index == 1) SaveSelected();
    else if (index == 2) SaveWholeSelected();
    else if (index == 4) SaveAllIcons();
    else if (index == 5) InstallSelected(false);
    else if (index == 6) InstallSelected(true);
}

void IconPanel::CopySelected() {
    if (f.SelectedIcon <= -1) return;
    f.screen.ClipboardClear();
    f.screen.ClipboardSetImage(SelectedPicture());
}

// A first save starts in the user's pictures, never in the program's own
// folder (which the user cannot write, or should not); every later one where
// the last one went.
std::string IconPanel::SaveFolder() {
    if (saveFolder_.empty()) saveFolder_ = f.screen.PicturesFolder();
    return saveFolder_;
}

void IconPanel::SaveSelected() {
    // Until the dialog has closed with a name, any failure ends the command
    // quietly; writing the file is what the user hears about.
    try {
        if (f.SelectedIcon <= -1) return;
        // The name this command chose last, in the folder the last save went to.
        const std::string start =
            f.CD.FileName.empty() ? SaveFolder() : platform::JoinPath(SaveFolder(), icons::FileNameOf(f.CD.FileName));
        f.CD.Filter = kSaveFilter;
        std::optional<std::string> chosen = f.screen.ShowSave(start, f.CD.Filter);
        if (!chosen) return;
        f.CD.FileName = *chosen;
        saveFolder_ = FolderOf(*chosen);
    } catch (const platform::Failure&) {
        return;
    }
    try {
        f.system.SavePicture(SelectedPicture(), f.CD.FileName);
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

// The whole icon and its images are named after the icon each time, so these
// saves keep no name of their own; they leave the picture save's name alone.
std::optional<std::pair<CellOrigin, std::string>> IconPanel::AskWhereToSaveSelected(
    const std::function<std::string(const CellOrigin&)>& nameOf, const char* filter) {
    // As with the picture: until a name is chosen a failure ends the command
    // quietly; the write is what the user hears about.
    try {
        if (f.SelectedIcon <= -1) return std::nullopt;
        const std::optional<CellOrigin> origin = OriginOf(f.SelectedIcon);
        if (!origin) return std::nullopt;
        std::optional<std::string> chosen = f.screen.ShowSave(platform::JoinPath(SaveFolder(), nameOf(*origin)), filter);
        if (!chosen) return std::nullopt;
        saveFolder_ = FolderOf(*chosen);
        return std::pair{*origin, *chosen};
    } catch (const platform::Failure&) {
        return std::nullopt;
    }
}

void IconPanel::SaveWholeSelected() {
    const auto target = AskWhereToSaveSelected(
        [&](const CellOrigin& origin) {
            const auto icon = f.system.DescribeIcon(origin.file, origin.index, icons::kStandardIconSize);
            return icons::WholeIconFileName(icons::FileNameOf(origin.file), origin.index, icon && icon->cursor);
        },
        kWholeIconFilter);
    if (!target) return;
    try {
        f.system.SaveWholeIcon(target->first.file, target->first.index, target->second);
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

void IconPanel::SaveImageOfSelected(int k) {
    const auto target = AskWhereToSaveSelected(
        [&](const CellOrigin& origin) {
            return icons::IconImageFileName(icons::FileNameOf(origin.file), origin.index, k);
        },
        kImageFilter);
    if (!target) return;
    try {
        f.system.SaveIconImage(target->first.file, target->first.index, k, target->second);
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

void IconPanel::SaveAllIcons() {
    // One run at a time: a second one started from a yield of the first would
    // write the same files again behind its back.
    if (savingAll_) return;
    // What the grid shows now: a command given while the run yields may fill
    // the cells anew, and the run saves what the user asked for.
    std::vector<CellOrigin> shown;
    for (std::int32_t i = 0; i < f.IconCount; ++i)
        if (auto origin = OriginOf(i)) shown.push_back(std::move(*origin));
    if (shown.empty()) return;
    std::optional<std::string> folder;
    try {
        folder = f.screen.ChooseFolder(SaveFolder());
    } catch (const platform::Failure&) {
        return;
    }
    if (!folder) return;
    saveFolder_ = *folder;

    savingAll_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{savingAll_};
    const std::int32_t n = static_cast<std::int32_t>(shown.size());
    f.ShowProgress(0, n);
    for (std::int32_t k = 0; k < n; ++k) {
        const CellOrigin& icon = shown[static_cast<std::size_t>(k)];
        try {
            const auto described = f.system.DescribeIcon(icon.file, icon.index, icons::kStandardIconSize);
            const std::string name =
                icons::WholeIconFileName(icons::FileNameOf(icon.file), icon.index, described && described->cursor);
            f.ShowStatus(kSavingText + name);
            f.system.SaveWholeIcon(icon.file, icon.index, platform::JoinPath(*folder, name));
        } catch (const platform::Failure&) {
            // What was written stays; the user hears why the rest was not.
            f.ShowStatus(SavedIconsText(k));
            f.ShowProgress(0, 0);
            f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
            return;
        }
        // Yields: closing the window ends the run here, between two files.
        f.ShowProgress(k, -1);
    }
    f.ShowStatus(SavedIconsText(n));
    f.ShowProgress(0, 0);
}

std::string SavedIconsText(std::int64_t saved) { return "已保存 " + std::to_string(saved) + " 个图标"; }

}  // namespace icon_panel
