// The whole icon from the window: each cell remembers the file and icon it
// came from, its tooltip tells what that icon holds, and the menu's third
// command saves the icon whole or as its largest image.
#include <filesystem>

#include "icon_file_builders.h"
#include "panel_fixture.h"
#include "icons/whole_icon.h"

namespace icon_panel_test {
namespace {

using icon_files::MakeDib;
using icon_files::SolidDib;
namespace icons = icons;

// Two icons: a 16x16 4-bit and a 48x48 32-bit image, then one 32x32 8-bit image;
// with `version`, the builders' English and Chinese version resource.
icon_files::Bytes Library(bool version = false) {
    icon_files::PeSpec s;
    s.resources = icon_files::IconResources(
        {{{1, {}}, {{1, 16, 16, 4, MakeDib(SolidDib(16, 16, 4, pixels::MakeArgb(255, 0, 0)))},
                    {2, 48, 48, 32, MakeDib(SolidDib(48, 48, 32, pixels::MakeArgb(0, 0, 255, 200)))}}},
         {{2, {}}, {{3, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, pixels::MakeArgb(0, 255, 0)))}}}});
    if (version)
        s.resources.push_back(icon_files::VersionResource(icon_files::MakeVersionResource(icon_files::TwoTableVersion())));
    return icon_files::MakePe(s).bytes;
}

class WholeIcon : public PanelTest {
protected:
    WholeIcon() {
        folder.write("lib.dll", Library());
        folder.write("a.cur", icon_files::MakeIco({{32, 32, 0, 4, 4, MakeDib(SolidDib(32, 32, 1, 0))}}, 2));
        f.Dir1.setPath(folder.path());
    }
    void Load(const std::string& name, const std::string& count, bool clear) {
        if (clear) panel.ClearIcons();
        const platform::ListItem& row = AddRow(name, count);
        panel.LoadIconsOfFile(static_cast<std::int16_t>(row.Index()), true);
    }
    std::string Path(const std::string& name) const { return folder.file(name); }

    test_support::TempFolder folder;
};

// Show-all fills cells from many files; a clear, or a load that reuses a cell, forgets.
TEST_F(WholeIcon, CellsRememberWhereTheirIconCameFrom) {
    using Origin = std::optional<icon_panel::CellOrigin>;
    Load("lib.dll", "2", true);
    Load("a.cur", "1", false);
    const Origin all[] = {icon_panel::CellOrigin{Path("lib.dll"), 0}, icon_panel::CellOrigin{Path("lib.dll"), 1},
                          icon_panel::CellOrigin{Path("a.cur"), 0}};
    for (int k = 0; k < 3; ++k) EXPECT_EQ(panel.OriginOf(k), all[k]) << k;
    for (std::int16_t k : {0, 1}) f.picIcon(k).MouseMove.raise(0, 0, 1.0f, 1.0f);
    EXPECT_FALSE(f.picIcon(1).ToolTipText().empty());

    Load("a.cur", "1", true);
    EXPECT_EQ(panel.OriginOf(0), (Origin{icon_panel::CellOrigin{Path("a.cur"), 0}}));
    for (int k : {1, 2, 3, -1}) EXPECT_EQ(panel.OriginOf(k), std::nullopt) << k;
    EXPECT_EQ(f.picIcon(0).ToolTipText(), "") << "the tooltip of the icon the cell showed before";
    f.picIcon(0).MouseMove.raise(0, 0, 1.0f, 1.0f);
    panel.ClearIcons();
    EXPECT_EQ(panel.OriginOf(0), std::nullopt);
    EXPECT_EQ(f.picIcon(0).ToolTipText(), "");
}

TEST_F(WholeIcon, ToolTipNamesTheFileTheIndexAndEveryImage) {
    icons::IconDescription four;
    four.images = {{256, 256, 32, true, 1}, {48, 48, 32, false, 1}, {32, 32, 8, false, 1}, {16, 16, 4, false, 1}};
    four.shown = 2;
    // A program's version: English and Chinese tables, and one with English strings and no fixed part.
    icons::VersionInfo both;
    both.fileVersion = "6.0.2900.6242";
    both.tables = {{0x409, 1200, {{"FileDescription", "Wine core dll"}, {"ProductName", "Wine"}}},
                   {0x804, 1200, {{"FileDescription", "外壳\n公用 DLL"}}}};
    icons::VersionInfo english;
    english.tables = {{0x409, 1200, {{"ProductName", "Wine"}, {"FileVersion", "5.2.3790.0"}}}};
    icons::VersionInfo bare;  // a resource with nothing to tell
    struct Case {
        const char* name;
        std::optional<icons::IconDescription> icon;
        std::optional<icons::VersionInfo> version;
        std::string text;
        std::string from = "";
    } cases[] = {
        {"four_images", four, std::nullopt, "shell32.dll\n图标 7\n256×256 PNG · 48×48 32位 · 32×32 8位（显示） · 16×16 4位"},
        {"unreadable", std::nullopt, std::nullopt, "shell32.dll\n图标 7"},
        {"program_chinese_first", four, both,
         "shell32.dll\n说明：外壳 公用 DLL  产品：Wine  版本：6.0.2900.6242\n图标 7\n256×256 PNG · 48×48 32位 · 32×32 8位（显示） · 16×16 4位"},
        {"program_without_a_description", std::nullopt, english, "shell32.dll\n产品：Wine  版本：5.2.3790.0\n图标 7"},
        {"program_with_nothing_to_tell", std::nullopt, bare, "shell32.dll\n图标 7"},
        {"icons_from_a_module", std::nullopt, english, "shell32.dll\n来自 SystemResources/shell32.dll.mun\n产品：Wine  版本：5.2.3790.0\n图标 7",
         "SystemResources/shell32.dll.mun"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(icon_panel::CellToolTip({"/w/shell32.dll", 7}, c.icon, c.version, c.from), c.text);
    }
    // Hovering a real cell reads its icon once, and the program's version for icon 0 only.
    Load("lib.dll", "2", true);
    f.picIcon(0).MouseMove.raise(0, 0, 1.0f, 1.0f);
    f.picIcon(1).MouseMove.raise(0, 0, 1.0f, 1.0f);
    EXPECT_EQ(f.picIcon(0).ToolTipText(), "lib.dll\n图标 0\n16×16 4位 · 48×48 32位（显示）") << "no version resource";
    EXPECT_EQ(sys.versionReads, std::vector<std::string>{Path("lib.dll")});
    // The same library with Wine's version resource (built like it) has the program's line on icon 0 alone.
    folder.write("lib.dll", Library(true));
    Load("lib.dll", "2", true);
    for (std::int16_t k : {0, 1}) f.picIcon(k).MouseMove.raise(0, 0, 1.0f, 1.0f);
    EXPECT_EQ(f.picIcon(0).ToolTipText(),
              "lib.dll\n说明：注册表编辑器  产品：Wine 程序  版本：10.0.19041.1\n图标 0\n16×16 4位 · 48×48 32位（显示）");
    EXPECT_EQ(f.picIcon(1).ToolTipText(), "lib.dll\n图标 1\n32×32 8位（显示）");
}

// The command asks for a name, starting from the icon's own in the pictures
// folder or where the last save went, and hands the save to the system; a
// failed write is the one thing the user hears about.
TEST_F(WholeIcon, SaveAsksForANameThenSavesTheSelectedIcon) {
    struct Case {
        const char* name;
        std::string file;
        int cell;
        std::string pictureSave;  // a picture saved under this name just before, if any
        std::optional<std::string> answer;
        bool fails;
        std::string firstName;
    } cases[] = {
        {"first_save", "lib.dll", 1, "", "/x/whole.ico", false, screen.picturesFolder + "/lib.dll.1.ico"},
        {"cancelled_in_the_last_folder", "lib.dll", 0, "", std::nullopt, false, "/x/lib.dll.0.ico"},
        {"cursor_after_a_picture", "a.cur", 0, "/home/u/pic.bmp", "/x/a.cur", false, "/home/u/a.cur.0.cur"},
        {"root_folder", "lib.dll", 0, "/pic.gif", "/big.png", false, "/lib.dll.0.ico"},
        {"write_fails", "lib.dll", 0, "", "/y/full.ico", true, "/lib.dll.0.ico"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.file, c.file == "a.cur" ? "1" : "2", true);
        f.picIcon(static_cast<std::int16_t>(c.cell)).Click.raise();
        if (!c.pictureSave.empty()) {
            screen.saveAnswer = c.pictureSave;
            panel.mnuIcons_Click(1);
        }
        screen.saveDialogs.clear();
        screen.boxes.clear();
        sys.wholeIconSaves.clear();
        screen.saveAnswer = c.answer;
        sys.wholeIconSaveFails = c.fails;
        panel.mnuIcons_Click(2);
        ASSERT_EQ(screen.saveDialogs.size(), 1u);
        EXPECT_EQ(screen.saveDialogs[0].fileName, c.firstName);
        EXPECT_EQ(screen.saveDialogs[0].filter, icon_panel::kWholeIconFilter);
        const bool saved = c.answer && !c.fails;
        ASSERT_EQ(sys.wholeIconSaves.size(), saved ? 1u : 0u);
        if (saved) {
            EXPECT_EQ(sys.wholeIconSaves[0].file, Path(c.file));
            EXPECT_EQ(sys.wholeIconSaves[0].index, c.cell);
            EXPECT_EQ(sys.wholeIconSaves[0].target, *c.answer);
        }
        ASSERT_EQ(screen.boxes.size(), c.fails ? 1u : 0u);
        if (c.fails) {
            EXPECT_EQ(screen.boxes[0].prompt, "错误");
        }
    }
    // The picture save proposes its own last name, in the folder the last save chose.
    panel.mnuIcons_Click(1);
    EXPECT_EQ(screen.saveDialogs.back().fileName, "/y/pic.gif");
    // Nothing selected: no dialog at all.
    panel.ClearIcons();
    screen.saveDialogs.clear();
    panel.mnuIcons_Click(2);
    EXPECT_TRUE(screen.saveDialogs.empty());
}

// The image menu lists the selected icon's images as its tooltip names them; each saves that image.
TEST_F(WholeIcon, ImageMenuSavesTheChosenImage) {
    Load("lib.dll", "2", true);
    Load("a.cur", "2", false);  // counted 2, gives 1: cell 3 stays blank
    screen.saveAnswer = "/x/big.png";
    const struct {
        int cell, choose;
        std::vector<std::string> captions;
        std::string proposed;
    } cases[] = {{0, 1, {"16×16 4位", "48×48 32位"}, screen.picturesFolder + "/lib.dll.0-1.png"},
                 {2, 0, {"32×32 1位"}, "/x/a.cur.0-0.png"},  // where the last save went
                 {3, -1, {}, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        std::vector<std::string> captions;
        screen.choose = [&](platform::Menu&) -> platform::Menu* {
            for (const auto& item : f.mnuIcons(3).Items()) captions.push_back(item->Caption());
            return c.choose < 0 ? nullptr : f.mnuIcons(3).Items()[static_cast<std::size_t>(c.choose)].get();
        };
        screen.saveDialogs.clear();
        f.picIcon(static_cast<std::int16_t>(c.cell)).Click.raise();
        panel.fraIcons_MouseUp(platform::mouse::kRight, 0, 1.0f, 1.0f);
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(f.mnuIcons(3).Enabled(), !c.captions.empty());
        if (c.choose < 0) continue;
        ASSERT_EQ(screen.saveDialogs.size(), 1u);
        EXPECT_EQ(std::tie(screen.saveDialogs[0].fileName, screen.saveDialogs[0].filter),
                  std::tie(c.proposed, "PNG (*.png)|*.png"));
        EXPECT_EQ(sys.imageSaves.back(), std::make_tuple(Path(c.cell == 2 ? "a.cur" : "lib.dll"), 0, c.choose, "/x/big.png"));
    }
    EXPECT_EQ(sys.imageSaves.size(), 2u);
}

// Every icon the grid shows, as the whole icon, into the folder the user picks.
TEST_F(WholeIcon, SaveAllWritesEveryShownIconIntoTheChosenFolder) {
    Load("lib.dll", "2", true);
    Load("a.cur", "2", false);  // the blank cell after the cursor is no icon
    const struct {
        const char* name;
        std::optional<std::string> folder;  // nullopt: the dialog is cancelled
        int failAfter;                      // writes that succeed before one fails, -1 for none
        int closeAt;                        // the yield at which the window closes, -1 for none
        std::vector<std::string> saved;     // the names written, in order
        std::string status, start;          // the status at the end; where the dialog opened
    } cases[] = {
        {"cancelled", std::nullopt, -1, -1, {}, "", screen.picturesFolder},
        {"all", "/out", -1, -1, {"lib.dll.0.ico", "lib.dll.1.ico", "a.cur.0.cur"}, "已保存 3 个图标", screen.picturesFolder},
        {"second_write_fails", "/o2", 1, -1, {"lib.dll.0.ico"}, "已保存 1 个图标", "/out"},
        {"closed_after_the_first", "/o3", -1, 2, {"lib.dll.0.ico"}, "", "/o2"},  // the last: the window goes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sys.wholeIconSaves.clear();
        sys.wholeIconSaveFails = false;
        screen.boxes.clear();
        screen.folderDialogs.clear();
        screen.folderAnswer = c.folder;
        // The run yields once before the first write and once after each.
        const int yieldsBefore = screen.yields;
        screen.onYield = [&](int n) {
            if (c.failAfter >= 0 && n - yieldsBefore - 1 >= c.failAfter) sys.wholeIconSaveFails = true;
            if (n - yieldsBefore == c.closeAt) f.Me.Unload.raise();
        };
        if (c.closeAt > 0) EXPECT_THROW(panel.mnuIcons_Click(4), platform::ProgramEnded);
        else panel.mnuIcons_Click(4);
        std::vector<std::string> written, expected;
        for (const auto& save : sys.wholeIconSaves) written.push_back(save.target);
        for (const std::string& name : c.saved) expected.push_back(*c.folder + "/" + name);
        EXPECT_EQ(written, expected);
        EXPECT_EQ(screen.folderDialogs, std::vector<std::string>{c.start});
        EXPECT_EQ(screen.boxes.size(), c.failAfter >= 0 ? 1u : 0u);
        if (c.closeAt > 0) break;
        EXPECT_EQ(f.lblStatus.Caption(), c.status);
        EXPECT_FALSE(f.progbar.Visible());
    }
}

// A file listed from a subfolder, with dots in its name: the saves and the
// tooltip name it by its own name, dots and all.
TEST_F(WholeIcon, NamesAFileOfASubfolderByItsOwnName) {
    std::filesystem::create_directory(folder.file("sub"));
    folder.write("sub/my.lib.dll", Library());
    Load("sub/my.lib.dll", "2", true);
    f.picIcon(1).Click.raise();
    screen.saveAnswer = std::nullopt;
    screen.choose = [&](platform::Menu&) { return f.mnuIcons(3).Items().at(0).get(); };
    panel.mnuIcons_Click(2);                                   // the whole icon
    panel.fraIcons_MouseUp(platform::mouse::kRight, 0, 1, 1);  // its first image
    screen.folderAnswer = "/out";
    panel.mnuIcons_Click(4);  // every icon
    f.picIcon(1).MouseMove.raise(0, 0, 1, 1);
    EXPECT_EQ(screen.saveDialogs.at(0).fileName, screen.picturesFolder + "/my.lib.dll.1.ico");
    EXPECT_EQ(screen.saveDialogs.at(1).fileName, screen.picturesFolder + "/my.lib.dll.1-0.png");
    EXPECT_EQ(sys.wholeIconSaves.at(1).target, "/out/my.lib.dll.1.ico");
    EXPECT_EQ(f.picIcon(1).ToolTipText().substr(0, 11), "my.lib.dll\n");
}

}  // namespace
}  // namespace icon_panel_test
