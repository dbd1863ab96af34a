// The scan of the current folder for files that hold icons.
#include <vector>

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
    const bool tree = f.mnuIncludeSubfolders().Checked();
    const std::uint64_t run = ++scans_;
    // A scan started inside one of this scan's yields moved the folder view:
    // the screen belongs to the newer scan from then on. (A rescan of the same
    // folder runs the one enumeration to its end, so a scan of one folder then
    // ends too; a walk of the tree would go on into the next folder below, so
    // it also gives way to any newer scan.)
    const auto abandoned = [&] { return ScanFolderOf(f.Dir1.Path()) != folder || (tree && run != scans_); };
    // A tick a file opened from outside put there lasts while its folder is
    // shown; any other folder is scanned by the user's own choice, which was off.
    if (!programFilesFolder_.empty() && programFilesFolder_ != folder) {
        programFilesFolder_.clear();
        f.mnuAllProgramFiles().setChecked(false);
    }
    const bool allProgramFiles = f.mnuAllProgramFiles().Checked();

    std::string name = f.system.Dir(folder);
    f.listedFiles.Clear();
    f.ShowStatus(kReadingListText);
    // Below the first folder the whole count is not known before the walk
    // ends: the bar's end grows by each folder's files as it is entered.
    std::int32_t found = f.system.CountFiles(folder);
    f.ShowProgress(0, found);
    if (abandoned()) return;
    std::int32_t position = 0;
    f.TotalIcons = 0;
    bool cut = false;

    // Folders still to walk, the next on top, each with the path that leads
    // to it from the scanned folder ("" for the scanned folder itself): the
    // files of a folder come before those of the folders inside it.
    std::vector<std::string> below;
    std::string prefix;
    for (;;) {
        while (!name.empty()) {
            const std::string ext = ExtensionOf(name);
            if (IsIconFileExtension(ext) || (allProgramFiles && IsOtherProgramFile(name))) {
                const std::string row = prefix + name;
                const int count = f.system.CountIcons(platform::JoinPath(folder, row));
                if (tree && count > 0 && f.File1.Count() >= kMaxRows) {
                    cut = true;
                    break;
                }
                f.TotalIcons += count;
                // The path the icons are read from, joined as the folder view shows the folder.
                if (count > 0) f.listedFiles.Add({f.Dir1.Path() + "/" + row, row, count});
            }
            ++position;
            f.ShowProgress(position, -1);
            if (abandoned()) return;
            name = f.system.Dir();
        }
        if (!tree || cut) break;

        const std::vector<std::string> subfolders = f.system.Subfolders(platform::JoinPath(folder, prefix));
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) below.push_back(prefix + *it + "/");
        if (below.empty()) break;
        prefix = below.back();
        below.pop_back();
        const std::string next = platform::JoinPath(folder, prefix);
        name = f.system.Dir(next);
        if (const std::int32_t here = f.system.CountFiles(next); here > 0) {
            found += here;
            f.ShowProgress(position, found);
            if (abandoned()) return;
        }
    }

    // A folder that went away while it was read (or that could not be read
    // at all) lists nothing: its rows name files that are no longer there.
    const bool gone = !f.system.ResolveFolder(f.Dir1.Path(), folder);
    if (gone) {
        f.listedFiles.Clear();
        f.TotalIcons = 0;
    }
    f.ShowStatus(cut ? kTooManyFilesText : "");
    f.ShowProgress(0, 0);
    f.File1.setColumnText(1, FileColumnHeader(f.File1.Count()));
    f.File1.setColumnText(2, std::to_string(f.TotalIcons));
    f.fraNoFiles.setVisible(f.File1.Count() == 0);
    if (gone && !abandoned()) ReportCannotOpen(f.Dir1.Path());
}

}  // namespace browsing
