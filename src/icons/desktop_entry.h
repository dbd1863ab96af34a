#pragma once
// The menu entry that starts a Windows program with Wine, in the desktop's
// own terms: the names its version resource gives it, the command, and the
// icon and window class the menu and the dock match it by.

#include <optional>
#include <string>

#include "version_info.h"

namespace icons {

// The text of `<name>.desktop` for the program at the absolute path `program`,
// whose icon set is called `name`. Name is the program's description (the
// neutral or English one; the Chinese one, when it says something else, as
// Name[zh_CN]), else its product name, else its file's name without the ending.
// Every value is escaped as the format asks, and the path quoted for Exec.
std::string DesktopEntryText(const std::string& program, const std::string& name,
                             const std::optional<VersionInfo>& version);

// The Exec value that runs wine on `program`: the path quoted and its
// characters escaped as the command line asks, then as any string value is.
std::string WineExecValue(const std::string& program);

// The registered main category the program goes under: Utility, unless its
// description or product name says it is a game, a media player, a web
// browser or a programming tool.
std::string MainCategory(const std::optional<VersionInfo>& version);

}  // namespace icons
