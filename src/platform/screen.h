#pragma once
// What the window asks of the screen: yielding to pending events, message
// boxes, popup menus, the Save dialog, the clipboard, the mouse pointer, text
// measuring and the screen's scale and colours. One implementation drives Qt;
// the test double records what was asked and runs what a test queued when
// the logic yields.

#include <optional>
#include <string>

#include "pixels/bitmap.h"
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

class Screen {
public:
    virtual ~Screen() = default;

    // The event loop
    virtual void DoEvents() = 0;  // runs every pending event, then returns
    virtual int MsgBox(const std::string& prompt, int style) = 0;
    virtual void PopupMenu(Menu& menu) = 0;  // returns when the menu closes
    // The Save dialog: the chosen name, or nullopt when the user cancelled.
    virtual std::optional<std::string> ShowSave(const std::string& fileName, const std::string& filter) = 0;
    // The folder dialog, opened on `start`: the chosen folder, or nullopt when
    // the user cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& start) = 0;
    // A small dialog that asks for a line of text, `proposed` filled in: the
    // text the user accepted, or nullopt when they cancelled.
    virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& proposed) = 0;
    // Where the first save of a run starts: the user's pictures folder, or the
    // home folder when there is none.
    virtual std::string PicturesFolder() = 0;
    // Ends the program: no further handler runs.
    virtual void End() = 0;

    // Clipboard
    virtual void ClipboardClear() = 0;
    virtual void ClipboardSetImage(const pixels::Bitmap& image) = 0;

    // The mouse pointer, in screen pixels
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point p) = 0;

    // The screen's dots per inch, which decide the twips of a pixel.
    virtual ScreenScale Scale() = 0;
    // Device pixels to a pixel of the layout: 2 on a screen scaled to 200%.
    virtual double DevicePixelRatio() = 0;
    virtual Twips MeasureText(const std::string& text) = 0;  // width of a label's caption
    virtual pixels::Argb WindowColor() = 0;
    virtual pixels::Argb WindowTextColor() = 0;
};

}  // namespace platform
