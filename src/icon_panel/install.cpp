// The selected icon installed where the Linux desktop looks icons up by name,
// and a menu entry that starts its program with Wine.
#include <algorithm>
#include <cctype>

#include "icon_panel.h"
#include "icons/icon_set.h"
#include "icons/whole_icon.h"
#include "platform/guarded.h"

namespace icon_panel {

namespace {

bool IsProgram(const std::string& path) {
    std::string name = icons::FileNameOf(path);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string InstalledIconText(const std::string& name, std::int64_t sizes) {
    return "已安装图标 " + name + "：" + std::to_string(sizes) + " 个尺寸";
}

// The launcher needs a program to start and Wine to start it with; without
// Wine the item says why it cannot be chosen.
void IconPanel::FillInstallItems() {
    const auto origin = OriginOf(f.SelectedIcon);
    f.mnuIcons(5).setEnabled(origin.has_value());
    platform::Menu& launcher = f.mnuIcons(6);
    const bool program = origin && IsProgram(origin->file);
    bool wine = false;
    if (program) platform::Guarded([&] { wine = f.system.ProgramOnPath("wine"); });
    launcher.setVisible(program);
    launcher.setEnabled(wine);
    launcher.setToolTipText(program && !wine ? kNeedsWineText : "");
}

void IconPanel::InstallSelected(bool launcher) {
    // As with the saves: until the name is chosen a failure ends the command
    // quietly; the writing is what the user hears about.
    CellOrigin origin;
    std::string name;
    try {
        if (f.SelectedIcon <= -1) return;
        const auto selected = OriginOf(f.SelectedIcon);
        if (!selected) return;
        origin = *selected;
        const auto answer = f.screen.AskText(kAppIconNamePrompt, icons::DefaultIconName(icons::FileNameOf(origin.file)));
        if (!answer) return;
        name = Trimmed(*answer);
        if (icons::IconNameProblem(name)) {
            f.screen.MsgBox(kBadAppIconNameText, platform::msgbox::kOkOnly);
            return;
        }
    } catch (const platform::Failure&) {
        return;
    }
    try {
        const int sizes = launcher ? f.system.CreateLauncher(origin.file, origin.index, name)
                                   : f.system.InstallAppIcon(origin.file, origin.index, name);
        f.ShowStatus(InstalledIconText(name, sizes));
    } catch (const platform::Failure&) {
        f.screen.MsgBox(kSaveError, platform::msgbox::kOkOnly);
    }
}

}  // namespace icon_panel
