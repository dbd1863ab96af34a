#pragma once
// The test doubles of the screen and the system services, and helpers the
// window's tests share.

#include <deque>
#include <set>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/controls/menu.h"
#include "platform/failure.h"
#include "icons/icon_file.h"
#include "icons/icons.h"
#include "icons/stretch.h"
#include "icons/system_resources.h"
#include "icons/version_info.h"
#include "icons/whole_icon.h"
#include "platform/screen.h"
#include "platform/system.h"
#include "system/posix_files.h"
#include "system/settings_file.h"

namespace test_support {

// The screen as tests drive it: a yield that runs what the test queued, and
// dialogs, menus, clipboard and pointer that record what was asked and
// answer as told.
class FakeScreen : public platform::Screen {
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

    std::vector<std::string> folderDialogs;   // the folder each opened on
    std::optional<std::string> folderAnswer;  // nullopt: the user cancels
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        return folderDialogs.push_back(start), folderAnswer;
    }
    struct TextQuestion {
        std::string prompt, proposed;
    };
    std::vector<TextQuestion> textQuestions;
    // The answer to each question in turn; none left: the user cancels.
    std::deque<std::optional<std::string>> textAnswers;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& proposed) override {
        textQuestions.push_back({prompt, proposed});
        if (textAnswers.empty()) return std::nullopt;
        auto answer = textAnswers.front();
        textAnswers.pop_front();
        return answer;
    }
    std::string picturesFolder = "/home/user/Pictures";
    std::string PicturesFolder() override { return picturesFolder; }

    bool ended = false;
    void End() override { ended = true; }

    std::optional<pixels::Bitmap> clipboard;
    int clipboardClears = 0;
    void ClipboardClear() override {
        ++clipboardClears;
        clipboard.reset();
    }
    void ClipboardSetImage(const pixels::Bitmap& image) override { clipboard = image; }

    platform::Point cursor{400, 300};
    std::vector<platform::Point> cursorMoves;
    platform::Point GetCursorPos() override { return cursor; }
    void SetCursorPos(platform::Point p) override {
        cursor = p;
        cursorMoves.push_back(p);
    }

    platform::ScreenScale scale{96, 96};
    platform::ScreenScale Scale() override { return scale; }
    double pixelRatio = 1;
    double DevicePixelRatio() override { return pixelRatio; }
    // A fixed rule instead of font metrics: 6 pixels a character.
    platform::Twips MeasureText(const std::string& text) override {
        int chars = 0;
        for (unsigned char c : text)
            if ((c & 0xC0) != 0x80) ++chars;
        return static_cast<platform::Twips>(chars * 6 * scale.twipsPerPixelX());
    }
    pixels::Argb WindowColor() override { return pixels::MakeArgb(255, 255, 255); }
    pixels::Argb WindowTextColor() override { return pixels::MakeArgb(0, 0, 0); }
};

// The system as tests drive it: the real folders and icon reader, a start
// folder the test chooses, and pictures, the shell and memory trims that are
// only recorded.
class FakeSystem : public platform::System {
public:
    std::string Dir(const std::string& folder) override { return dir_.Start(folder); }
    std::string Dir() override { return dir_.Next(); }
    int CountFiles(const std::string& folder) override { return platform::CountFiles(folder); }
    std::vector<std::string> Subfolders(const std::string& folder) override { return platform::ListSubfolders(folder); }
    std::vector<std::string> Drives() override { return platform::MountedRoots(); }
    std::optional<std::string> ResolveFolder(const std::string&, const std::string& requested) override {
        return platform::ResolveFolder(requested);
    }
    bool FileExists(const std::string& path) override { return platform::FileExists(path); }
    // The folder the window opens on; the test's own working folder unless it chooses.
    std::string currentFolder = platform::WorkingFolder();
    std::string CurrentFolder() override { return currentFolder; }
    std::string appPath = "/opt/tessel";
    std::string AppPath() override { return appPath; }

    // Icon files: the real reader unless a test says otherwise.
    icons::OpenOptions options;
    void setIncludeCursors(bool on) override { options.cursors = on; }
    std::function<std::optional<icons::Icon>(const std::string&, int)> extract;
    std::vector<std::pair<std::string, int>> extractions;
    std::vector<int> extractionSizes;  // beside `extractions`
    std::optional<icons::Icon> ExtractIcon(const std::string& path, int index, int size) override {
        extractions.emplace_back(path, index);
        extractionSizes.push_back(size);
        if (!extract) return icons::ExtractIconFromFile(path, index, size, options);
        // A test's own icons are standard cells; other sizes are them stretched.
        auto icon = extract(path, index);
        if (icon && icon->width != size) *icon = icons::StretchIcon(*icon, size, size);
        return icon;
    }
    std::function<int(const std::string&)> count;
    int CountIcons(const std::string& path) override {
        return count ? count(path) : icons::CountIconsInFile(path, options);
    }
    std::optional<icons::IconDescription> DescribeIcon(const std::string& path, int index, int size) override {
        const icons::FileSource file(path);
        return file.ok() ? icons::IconFile(file, options).describe(index, size) : std::nullopt;
    }
    struct WholeIconSave {
        std::string file;
        int index;
        std::string target;
    };
    std::vector<WholeIconSave> wholeIconSaves;
    bool wholeIconSaveFails = false;  // as a full disk or a folder that is not there would
    void SaveWholeIcon(const std::string& path, int index, const std::string& target) override {
        if (wholeIconSaveFails) throw platform::Failure("cannot write " + target);
        wholeIconSaves.push_back({path, index, target});
    }

    std::vector<std::tuple<std::string, int, int, std::string>> imageSaves;  // file, index, k, target
    void SaveIconImage(const std::string& path, int index, int k, const std::string& target) override {
        imageSaves.emplace_back(path, index, k, target);
    }

    struct Install {
        std::string file;
        int index;
        std::string name;
        bool launcher;
    };
    std::vector<Install> installs;
    int installedSizes = 9;        // what an install reports written
    bool installFails = false;     // as a full disk would
    int InstallAppIcon(const std::string& path, int index, const std::string& name) override {
        if (installFails) throw platform::Failure("cannot write " + name);
        installs.push_back({path, index, name, false});
        return installedSizes;
    }
    int CreateLauncher(const std::string& path, int index, const std::string& name) override {
        if (installFails) throw platform::Failure("cannot write " + name);
        installs.push_back({path, index, name, true});
        return installedSizes;
    }
    std::string IconsFrom(const std::string& path) override {
        const icons::IconFileAt file(path);
        return file.ok() ? (file.icons(), file.from()) : std::string();
    }
    std::set<std::string> programsOnPath = {"wine"};
    bool ProgramOnPath(const std::string& program) override { return programsOnPath.count(program) != 0; }
    // The real reader unless a test gives the version itself.
    std::function<std::optional<icons::VersionInfo>(const std::string&)> versionInfo;
    std::vector<std::string> versionReads;
    std::optional<icons::VersionInfo> ReadVersionInfo(const std::string& path) override {
        versionReads.push_back(path);
        if (versionInfo) return versionInfo(path);
        const icons::FileSource file(path);
        return file.ok() ? icons::ReadVersionInfo(file) : std::nullopt;
    }

    struct Picture {
        pixels::Bitmap image;
        std::string path;
    };
    std::vector<Picture> pictures;
    void SavePicture(const pixels::Bitmap& image, const std::string& path) override {
        pictures.push_back({image, path});
    }

    // No settings unless a test names a file, which is then read and written for real.
    std::string settingsPath;
    std::string ReadSettings() override { return platform::ReadSettingsFile(settingsPath); }
    bool WriteSettings(const std::string& text) override { return platform::WriteSettingsFile(settingsPath, text); }

    std::vector<std::string> opened;
    void ShellOpen(const std::string& url) override { opened.push_back(url); }
    int trims = 0;
    void TrimMemory() override { ++trims; }

private:
    platform::PlainFileEnumeration dir_;
};

// An icon of one colour, opaque, as the reader would hand it over.
icons::Icon SolidIcon(pixels::Argb colour);

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
