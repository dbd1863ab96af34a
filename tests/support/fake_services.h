#pragma once
// The services as tests drive them: the real folders, files and icon reader,
// but a yield that runs what the test queued, and dialogs, menus, clipboard,
// pointer and shell that record what was asked and answer as told.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/menu.h"
#include "platform/system_services.h"

namespace test_support {

class FakeServices : public platform::SystemServices {
public:
    // DoEvents runs, in order, the actions queued before it; actions they
    // queue wait for the next yield. `onYield` sees every yield first.
    std::deque<std::function<void()>> queued;
    std::function<void(int yieldNumber)> onYield;
    int yields = 0;
    void DoEvents() override {
        ++yields;
        if (onYield) onYield(yields);
        std::deque<std::function<void()>> now;
        now.swap(queued);
        for (auto& f : now) f();
    }

    struct Box {
        std::string prompt;
        int style;
    };
    std::vector<Box> boxes;
    int msgBoxAnswer = platform::msgbox::kYes;
    int MsgBox(const std::string& prompt, int style) override {
        boxes.push_back({prompt, style});
        return msgBoxAnswer;
    }

    std::vector<platform::Menu*> popups;
    // Chooses an item of the popup, as a user would; nullptr closes it.
    std::function<platform::Menu*(platform::Menu&)> choose;
    void PopupMenu(platform::Menu& menu) override {
        popups.push_back(&menu);
        if (choose)
            if (platform::Menu* item = choose(menu)) item->Click.raise();
    }

    struct SaveCall {
        std::string fileName, filter;
    };
    std::vector<SaveCall> saveDialogs;
    std::optional<std::string> saveAnswer;  // nullopt: the user cancels
    std::optional<std::string> ShowSave(const std::string& fileName, const std::string& filter) override {
        saveDialogs.push_back({fileName, filter});
        return saveAnswer;
    }

    std::optional<platform::Bitmap> clipboard;
    int clipboardClears = 0;
    void ClipboardClear() override {
        ++clipboardClears;
        clipboard.reset();
    }
    void ClipboardSetImage(const platform::Bitmap& image) override { clipboard = image; }

    std::vector<std::string> opened;
    void ShellOpen(const std::string& url) override { opened.push_back(url); }
    bool ended = false;
    void End() override { ended = true; }

    platform::Point cursor{400, 300};
    std::vector<platform::Point> cursorMoves;
    platform::Point GetCursorPos() override { return cursor; }
    void SetCursorPos(platform::Point p) override {
        cursor = p;
        cursorMoves.push_back(p);
    }

    int trims = 0;
    void TrimMemory() override { ++trims; }

    std::string appPath = "/opt/tessel";
    std::string AppPath() override { return appPath; }

    // Icon files: the real reader unless a test says otherwise.
    std::function<std::optional<platform::icons::Icon>(const std::string&, int)> extract;
    std::vector<std::pair<std::string, int>> extractions;
    std::optional<platform::icons::Icon> ExtractIcon(const std::string& path, int index) override {
        extractions.emplace_back(path, index);
        return extract ? extract(path, index) : SystemServices::ExtractIcon(path, index);
    }
    std::function<int(const std::string&)> count;
    int CountIcons(const std::string& path) override { return count ? count(path) : SystemServices::CountIcons(path); }

    platform::ScreenScale scale{96, 96};
    platform::ScreenScale Screen() override { return scale; }
    // A fixed rule instead of font metrics: 6 pixels a character.
    platform::Twips MeasureText(const std::string& text) override {
        int chars = 0;
        for (unsigned char c : text)
            if ((c & 0xC0) != 0x80) ++chars;
        return static_cast<platform::Twips>(chars * 6 * scale.twipsPerPixelX());
    }
    platform::Argb WindowColor() override { return platform::MakeArgb(255, 255, 255); }
    platform::Argb WindowTextColor() override { return platform::MakeArgb(0, 0, 0); }
};

// An icon of one colour, opaque, as the reader would hand it over.
platform::icons::Icon SolidIcon(platform::Argb colour);

// A fresh folder under the test temp dir, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::vector<unsigned char>& bytes) const;
    void write(const std::string& name, const std::string& text) const;

private:
    std::string path_;
};

}  // namespace test_support
