#pragma once
// What the window asks of the system: folders and their files, icon files,
// picture files, the shell and memory. One implementation works on the real
// system; the test double reads real folders but records what it is asked to
// change and answers icon reads as a test says.

#include <optional>
#include <string>
#include <vector>

#include "pixels/bitmap.h"

namespace icons {
struct Icon;
struct IconDescription;
struct VersionInfo;
}  // namespace icons

namespace platform {

class System {
public:
    virtual ~System() = default;

    // Folders. Dir(folder) starts the one enumeration of the process and
    // returns the first plain file's name, Dir() the next; "" at the end.
    virtual std::string Dir(const std::string& folder) = 0;
    virtual std::string Dir() = 0;
    virtual int CountFiles(const std::string& folder) = 0;  // hidden files included
    // The folders a walk of the tree goes into from `folder`: not hidden, not
    // links, in name order; none when it cannot be read.
    virtual std::vector<std::string> Subfolders(const std::string& folder) = 0;
    virtual std::vector<std::string> Drives() = 0;         // roots of mounted file systems
    // The folder a folder view moves to when `requested` (a folder or a
    // drive) is assigned while it shows `current`; nullopt when it cannot.
    virtual std::optional<std::string> ResolveFolder(const std::string& current, const std::string& requested) = 0;
    // Whether something other than a folder (a file, a device) is at `path`,
    // links followed.
    virtual bool FileExists(const std::string& path) = 0;
    // The folder the program was started in; the folder view opens on it.
    virtual std::string CurrentFolder() = 0;
    virtual std::string AppPath() = 0;  // the folder the program runs from

    // Icon files
    // Whether every operation below counts a program's cursor groups too, after its icons.
    virtual void setIncludeCursors(bool on) = 0;
    virtual int CountIcons(const std::string& path) = 0;  // 0 for none or unreadable
    // Icon number `index`, drawn from the image chosen for `size` x `size`
    // pixels: 32 for the cells a load fills, the size the screen shows for a
    // cell drawn afresh in view, the chosen cell size for a copy or a save.
    virtual std::optional<icons::Icon> ExtractIcon(const std::string& path, int index, int size) = 0;
    // The whole icon number `index` of the file: what it holds, and saving it
    // as `target` by the name's ending: .png its largest image at its own
    // size, anything else the whole group as an icon file (a cursor file's own
    // bytes). Saving fails (platform::Failure) when the icon cannot be read or
    // the file cannot be written, leaving an existing file whole.
    // Its `shown` image is the one ExtractIcon draws at `size`.
    virtual std::optional<icons::IconDescription> DescribeIcon(const std::string& path, int index, int size) = 0;
    virtual void SaveWholeIcon(const std::string& path, int index, const std::string& target) = 0;
    // Image `k` (its place in DescribeIcon's list) of icon `index`, at its own
    // size with its transparency, as the PNG file `target`. Fails as above.
    virtual void SaveIconImage(const std::string& path, int index, int k, const std::string& target) = 0;
    // The version resource of the program at `path` (an EXE or DLL, through
    // the same opening as its icons): its description, product and version;
    // nullopt when it has none or cannot be read.
    virtual std::optional<icons::VersionInfo> ReadVersionInfo(const std::string& path) = 0;

    // Icon `index` of the file as the application icon `name` of the user's
    // icon theme, one PNG for each size the desktop looks for up to the
    // icon's largest image; the number of sizes written. Fails
    // (platform::Failure) when the icon cannot be read or nothing can be written.
    virtual int InstallAppIcon(const std::string& path, int index, const std::string& name) = 0;
    // The same, and a menu entry `name` that starts the program with Wine.
    virtual int CreateLauncher(const std::string& path, int index, const std::string& name) = 0;
    // Where the file's icons are read from when not from the file itself, as a
    // user names it ("SystemResources/shell32.dll.mun"); "" for its own.
    virtual std::string IconsFrom(const std::string& path) = 0;
    // Whether a program of that name is on PATH.
    virtual bool ProgramOnPath(const std::string& program) = 0;

    // Writes the picture under `path` in the format its name asks for; fails
    // when the file cannot be written, leaving an existing file whole.
    virtual void SavePicture(const pixels::Bitmap& image, const std::string& path) = 0;

    // The user's settings as "key=value" lines: "" when there are none or
    // they cannot be read; written whole, false when they cannot be.
    virtual std::string ReadSettings() = 0;
    virtual bool WriteSettings(const std::string& text) = 0;

    virtual void ShellOpen(const std::string& url) = 0;
    // Gives idle memory back to the system.
    virtual void TrimMemory() = 0;
};

}  // namespace platform
