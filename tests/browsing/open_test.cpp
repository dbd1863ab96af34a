// All program files on request, kept between runs; files and folders opened
// from outside the window (the command line, a drop) and F5.
#include <cstdlib>
#include <filesystem>

#include "browsing/browsing.h"
#include "browsing_fixture.h"
#include "platform/paths.h"

namespace browsing_tests {
namespace {

std::vector<FixtureFile> ProgramFolder() {
    return {{"app.exe", PeWithIcons(1, 2)}, {"desk.cpl", PeWithIcons(2, 1)},  {"Main.CPL", PeWithIcons(3, 3)},
            {"shell32.dll.mun", PeWithIcons(4, 2)}, {"ctl.ocx", PeWithIcons(5, 1)}, {"saver.scr", PeWithIcons(6, 1)},
            {"lib.icl", PeWithIcons(7, 4)}, {"arrow.ani", IconFile({IconColour(8, 0)}, 2)}, {"empty.ocx", PeWithoutIcons()},
            {"saver.scr.txt", PeWithIcons(9, 1)}, {"readme.txt", Text("read me")}, {"cursors.dll", PeWithCursorsOnly(10)}};
}

const Rows kExeOnly{{"app.exe", "2"}};
const Rows kAllPrograms{{"app.exe", "2"}, {"arrow.ani", "1"}, {"ctl.ocx", "1"},         {"desk.cpl", "1"},
                        {"lib.icl", "4"}, {"Main.CPL", "3"},  {"saver.scr", "1"}, {"shell32.dll.mun", "2"}};
const Rows kWithCursors{{"app.exe", "2"}, {"cursors.dll", "1"}};

TEST_F(BrowsingTest, OpeningFromOutsideSwitchingProgramFilesAndF5) {
    const auto& dir = Folder(ProgramFolder());
    const auto& other = Folder({{"b.ico", IconFile({IconColour(1, 0), IconColour(1, 1)})}});
    const test_support::TempFolder config;
    sys.settingsPath = config.file("settings");
    struct Step {  // a step's name and action; the folder, rows, selected row, icons, status and menu tick it leaves
        const char* name;
        std::function<void()> act;
        std::string folder;
        Rows rows;
        const char* selected;
        int icons;
        std::string status;
        bool allProgramFiles;
    };
    const Step steps[] = {
        {"a folder", [&] { browsing().OpenPath(dir.path()); }, dir.path(), kExeOnly, "", 0, "", false},
        {"a file in it", [&] { browsing().OpenPath(dir.file("app.exe")); }, dir.path(), kExeOnly, "app.exe", 2, "", false},
        {"a file of another kind", [&] { browsing().OpenPath(dir.file("Main.CPL")); }, dir.path(), kAllPrograms, "Main.CPL", 3, "", true},
        {"a file without icons", [&] { browsing().OpenPath(dir.file("readme.txt")); }, dir.path(), kAllPrograms, "", 0,
         browsing::kCannotShowFileText + std::string("readme.txt"), true},
        {"a path that is not there", [&] { browsing().OpenPath(dir.file("gone.exe")); }, dir.path(), kAllPrograms, "", 0,
         browsing::kCannotOpenFolderText + dir.file("gone.exe"), true},
        {"F5 in its folder", [&] { f().Me.KeyDown.raise(platform::key::kF5, 0); }, dir.path(), kAllPrograms, "", 0, "", true},
        {"a folder dropped", [&] { f().Me.OLEDragDrop.raise(other.path() + "/"); }, other.path(), {{"b.ico", "1"}}, "", 0, "", false},
        {"F5 after a file came", [&] { other.write("c.ico", IconFile({IconColour(2, 0)})); f().Me.KeyDown.raise(platform::key::kF5, 0); },
         other.path(), {{"b.ico", "1"}, {"c.ico", "1"}}, "", 0, "", false},
        {"back to the first folder", [&] { f().Dir1.setPath(dir.path()); }, dir.path(), kExeOnly, "", 0, "", false},
        {"the file's kind again, then the item", [&] { browsing().OpenPath(dir.file("desk.cpl")); f().mnuAllProgramFiles().Click.raise(); },
         dir.path(), kExeOnly, "", 0, "", false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(f().Dir1.Path(), s.folder);
        EXPECT_EQ(f().Drive1.Drive(), platform::DriveOf(s.folder, f().Drive1.List()));
        EXPECT_EQ(DisplayedRows(), s.rows);
        EXPECT_EQ(f().File1.SelectedItem() ? f().File1.SelectedItem()->Text() : "", s.selected);
        EXPECT_EQ(f().IconCount, s.icons);
        EXPECT_EQ(f().lblStatus.Caption(), s.status);
        EXPECT_EQ(f().mnuAllProgramFiles().Checked(), s.allProgramFiles);
    }
    // Switched on by a file, then off by the user: what the user chose is kept for the next run.
    EXPECT_EQ(platform::ReadSettingsFile(sys.settingsPath), "all-program-files=false\n");
}

TEST_F(BrowsingTest, FolderChoicesRescanAndAreKeptForTheNextRunUnlessTheSettingsCannotBeRead) {
    const auto& dir = Folder(ProgramFolder());
    std::filesystem::create_directory(dir.file("deep"));
    dir.write("deep/inner.ico", IconFile({IconColour(1, 0)}));
    const test_support::TempFolder config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    sys.settingsPath = platform::SettingsFilePath();
    ASSERT_EQ(sys.settingsPath, config.path() + "/tessel-icons/settings");
    const auto write = [&](const std::string& text) { ASSERT_TRUE(platform::WriteSettingsFile(sys.settingsPath, text)); };
    // Each choice lists only app.exe when off.
    const struct Choice {
        std::string key;
        platform::Menu& (main_window::frmMain::*item)();
        Rows onRows;
        int onTotal;
    } choices[] = {{"all-program-files", &main_window::frmMain::mnuAllProgramFiles, kAllPrograms, 15},
                   {"include-cursors", &main_window::frmMain::mnuIncludeCursors, kWithCursors, 3},
                   {"include-subfolders", &main_window::frmMain::mnuIncludeSubfolders,
                    {{"app.exe", "2"}, {"deep/inner.ico", "1"}}, 3}};
    std::string key;
    struct Case {
        const char* name;
        std::function<void()> setUp;
        bool startsOn, nextRunOn;
    };
    const Case cases[] = {
        {"missing", [] {}, false, true},
        {"garbled", [&] { write(std::string("\0\xff\x01 ", 4) + key + "=yes\n"); }, false, true},
        {"on", [&] { write("theme=dark\n" + key + "=true\n"); }, true, false},
        {"off", [&] { write(key + "=true\r\n" + key + "=false\r\n"); }, false, true},
        // A folder in the file's place can be neither read nor replaced: the choice lasts this run, silently.
        {"unreadable", [&] { std::filesystem::create_directories(sys.settingsPath); }, false, false},
    };
    for (const Choice& choice : choices) for (const Case& c : cases) {
        key = choice.key;
        SCOPED_TRACE(key + ": " + c.name);
        std::filesystem::remove_all(config.path() + "/tessel-icons");
        c.setUp();
        window = std::make_unique<app::TesselWindow>(screen, sys);
        f().Form_Load();
        browsing().OpenPath(dir.path());
        EXPECT_EQ((f().*choice.item)().Checked(), c.startsOn);
        EXPECT_EQ(DisplayedRows(), c.startsOn ? choice.onRows : kExeOnly);
        (f().*choice.item)().Click.raise();
        ExpectCompletedScan(c.startsOn ? kExeOnly : choice.onRows, c.startsOn ? 2 : choice.onTotal);
        app::TesselWindow nextRun(screen, sys);
        EXPECT_EQ((nextRun.form.*choice.item)().Checked(), c.nextRunOn);
        EXPECT_TRUE(!c.startsOn || platform::ReadSettingsFile(sys.settingsPath) == "theme=dark\n" + key + "=false\n")
            << "a setting this version does not know stays";
    }
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace browsing_tests
