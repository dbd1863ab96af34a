#pragma once
// What the window asks of the system. One implementation drives Qt; the test
// double records what was asked and runs what a test queued when the logic
// yields.

#include <optional>
#include <string>
#include <vector>

#include "bitmap.h"
#include "icons/icons.h"
#include "units.h"

namespace platform {

class Menu;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Message-box styles and answers, as the window's logic names them.
namespace msgbox {
constexpr int kOkOnly = 0, kYesNo = 4, kCritical = 16, kDefaultButton1 = 0;
constexpr int kOk = 1, kYes = 6, kNo = 7;
}  // namespace msgbox

class Services {
public:
    virtual ~Services() = default;

    // The event loop
    virtual void DoEvents() = 0;  // runs every pending event, then returns
    virtual int MsgBox(const std::string& prompt, int style) = 0;
    virtual void PopupMenu(Menu& menu) = 0;  // returns when the menu closes
    // The Save dialog: the chosen name, or nullopt when the user cancelled.
    virtual std::optional<std::string> ShowSave(const std::string& fileName, const std::string& filter) = 0;

    // Clipboard
    virtual void ClipboardClear() = 0;
    virtual void ClipboardSetImage(const Bitmap& image) = 0;

    // Files and the shell
    // Writes the picture under `path` in the format its name asks for; fails
    // when the file cannot be written, leaving an existing file whole.
    virtual void SavePicture(const Bitmap& image, const std::string& path) = 0;
    virtual std::string AppPath() = 0;  // the folder the program runs from
    virtual void ShellOpen(const std::string& url) = 0;
    // Ends the program: no further handler runs.
    virtual void End() = 0;

    // The mouse pointer, in screen pixels
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point p) = 0;

    // Gives idle memory back to the system.
    virtual void TrimMemory() = 0;

    // Folders. Dir(folder) starts the one enumeration of the process and
    // returns the first plain file's name, Dir() the next; "" at the end.
    virtual std::string Dir(const std::string& folder) = 0;
    virtual std::string Dir() = 0;
    virtual int CountFiles(const std::string& folder) = 0;  // hidden files included
    virtual std::vector<std::string> Drives() = 0;         // roots of mounted file systems
    // The folder a folder view moves to when `requested` (a folder or a
    // drive) is assigned while it shows `current`; nullopt when it cannot.
    virtual std::optional<std::string> ResolveFolder(const std::string& current, const std::string& requested) = 0;

    // Icon files
    virtual int CountIcons(const std::string& path) = 0;  // 0 for none or unreadable
    virtual std::optional<icons::Icon> ExtractIcon(const std::string& path, int index) = 0;

    // The screen
    virtual ScreenScale Screen() = 0;
    virtual Twips MeasureText(const std::string& text) = 0;  // width of a label's caption
    virtual Argb WindowColor() = 0;
    virtual Argb WindowTextColor() = 0;
};

}  // namespace platform
