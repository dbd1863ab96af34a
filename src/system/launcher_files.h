#pragma once
// Where a Windows program's icon set and menu entry go, and putting them there
// so that running desktops see them without a log-out.

#include <optional>
#include <string>
#include <vector>

#include "icons/icon_file.h"
#include "icons/version_info.h"

namespace platform {

// $XDG_DATA_HOME/icons/hicolor, else ~/.local/share/icons/hicolor; "" when no home folder can be told.
std::string DefaultIconThemeDir();
// $XDG_DATA_HOME/applications, else ~/.local/share/applications; "" likewise.
std::string DefaultApplicationsDir();

struct WrittenFile {
    int size = 0;  // of an icon; 0 for a menu entry
    std::string path;
};

enum class LauncherFailure { None, NoIcon, CannotWrite };

struct LauncherResult {
    LauncherFailure failure = LauncherFailure::None;
    std::vector<WrittenFile> written;  // what is in place, also when a later write failed
    std::string failedPath;            // with CannotWrite: what could not be written
    int error = 0;                     // and the errno that tells why
    bool ok() const { return failure == LauncherFailure::None; }
};

// Writes icon `index`'s set (icons::MakeIconSet) as <themeDir>/<S>x<S>/apps/<name>.png,
// each file replaced whole, making the folders it needs. Nothing is written
// when the icon has no images (NoIcon). Then, when the theme has an index.theme
// or an icon cache, the cache is rebuilt (gtk-update-icon-cache, when
// installed), and the theme folder's time is touched either way: that is how
// running desktops learn that an icon came.
LauncherResult InstallIconSet(const icons::IconFile& file, int index, const std::string& themeDir,
                              const std::string& name);

// Writes icons::DesktopEntryText as <applicationsDir>/<name>.desktop, replaced
// whole, and then has the menu's cache rebuilt (update-desktop-database, when
// installed).
LauncherResult WriteDesktopEntry(const std::string& applicationsDir, const std::string& name,
                                 const std::string& program, const std::optional<icons::VersionInfo>& version);

// Where the program `tool` is on PATH; "" when nowhere.
std::string FindOnPath(const std::string& tool);

// Runs the program `tool`, found on PATH, with `args`, its output dropped, and
// waits for it; false when it is not installed, cannot be started or fails.
bool RunTool(const std::string& tool, const std::vector<std::string>& args);

}  // namespace platform
