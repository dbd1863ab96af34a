// The scan of the current folder for files that hold icons.
#include "browsing.h"
#include "platform/paths.h"

namespace browsing {

std::string FileColumnHeader(int rows) { return "文件名称 (" + std::to_string(rows) + ")"; }

std::string ExtensionOf(const std::string& name) {
    const auto dot = name.find('.');
    if (dot == std::string::npos) return "";
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext;
}

bool IsIconFileExtension(const std::string& e) { return e == "EXE" || e == "DLL" || e == "ICO" || e == "CUR"; }

bool IsOtherProgramFile(const std::string& name) {
    static const char* const kEndings[] = {".CPL", ".OCX", ".SCR", ".MUN", ".ICL", ".ANI"};
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const char* e : kEndings)
        if (end == e) return true;
    return false;
}

std::string ScanFolderOf(const std::string& path) {
    if (!path.empty() && path.back() == '/') return path;
    return path + "/";
}

Browsing::Browsing(main_window::frmMain& form, icon_panel::IconPanel& p) : f(form), panel(p), drive_(form.Drive1.Drive()) {}

void Browsing::ListIconFiles() {
    f.fraNoFiles.setVisible(false);
    // Clearing also drops the selection and hides its frame.
    panel.ClearIcons();
    const std::string folder = ScanFolderOf(f.Dir1.Path());
    // A scan started inside one of this scan's yields moved the folder view:
    // the screen belongs to the newer scan from then on. (A rescan of the same
    // folder runs the one enumeration to its end, so this scan then ends too.)
    const auto abandoned = [&] { return ScanFolderOf(f.Dir1.Path()) != folder; };
    // A tick a file opened from outside put there lasts while its folder is
    // shown; any other folder is scanned by the user's own choice, which was off.
    if (!programFilesFolder_.empty() && programFilesFolder_ != folder) {
        programFilesFolder_.clear();
        f.mnuAllProgramFiles().setChecked(false);
    }
    const bool allProgramFiles = f.mnuAllProgramFiles().Checked();

    std::string name = f.system.Dir(folder);
    f.File1.Clear();
    f.ShowStatus(kReadingListText);
    f.ShowProgress(0, f.system.CountFiles(folder));
    if (abandoned()) return;
    std::int32_t position = 0;
    f.TotalIcons = 0;

    while (!name.empty()) {
        const std::string ext = ExtensionOf(name);
        if (IsIconFileExtension(ext) || (allProgramFiles && IsOtherProgramFile(name))) {
            const int count = f.system.CountIcons(platform::JoinPath(folder, name));
            f.TotalIcons += count;
            if (count > 0) {
                platform::ListItem& row = f.File1.Add(name);
                row.setSubItem(1, std::to_string(count));
            }
        }
        ++position;
        f.ShowProgress(position, -1);
        if (abandoned()) return;
        name = f.system.Dir();
    }

    // A folder that went away while it was read (or that could not be read
    // at all) lists nothing: its rows name files that are no longer there.
    const bool gone = !f.system.ResolveFolder(f.Dir1.Path(), folder);
    if (gone) {
        f.File1.Clear();
        f.TotalIcons = 0;
    }
    f.ShowStatus("");
    f.ShowProgress(0, 0);
    f.File1.setColumnText(1, FileColumnHeader(f.File1.Count()));
    f.File1.setColumnText(2, std::to_string(f.TotalIcons));
    f.fraNoFiles.setVisible(f.File1.Count() == 0);
    if (gone && !abandoned()) ReportCannotOpen(f.Dir1.Path());
}

}  // namespace browsing
