// The whole icon from the window: each cell remembers the file and icon it
// came from, its tooltip tells what that icon holds, and the menu's third
// command saves the icon whole or as its largest image.
#include "icon_file_builders.h"
#include "panel_fixture.h"
#include "platform/icons/whole_icon.h"

namespace icon_panel_test {
namespace {

using icon_files::MakeDib;
using icon_files::SolidDib;
namespace icons = platform::icons;

// Two icons: a 16x16 4-bit and a 48x48 32-bit image, then one 32x32 8-bit image.
icon_files::Bytes Library() {
    icon_files::PeSpec s;
    s.resources = icon_files::IconResources(
        {{{1, {}}, {{1, 16, 16, 4, MakeDib(SolidDib(16, 16, 4, platform::MakeArgb(255, 0, 0)))},
                    {2, 48, 48, 32, MakeDib(SolidDib(48, 48, 32, platform::MakeArgb(0, 0, 255, 200)))}}},
         {{2, {}}, {{3, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, platform::MakeArgb(0, 255, 0)))}}}});
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
    struct Case {
        const char* name;
        std::optional<icons::IconDescription> icon;
        std::string text;
    } cases[] = {
        {"four_images", four, "shell32.dll\n图标 7\n256×256 PNG · 48×48 32位 · 32×32 8位（显示） · 16×16 4位"},
        {"unreadable", std::nullopt, "shell32.dll\n图标 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(icon_panel::CellToolTip({"/w/shell32.dll", 7}, c.icon), c.text);
    }
    // Hovering a real cell reads its icon once.
    Load("lib.dll", "2", true);
    f.picIcon(0).MouseMove.raise(0, 0, 1.0f, 1.0f);
    EXPECT_EQ(f.picIcon(0).ToolTipText(), "lib.dll\n图标 0\n16×16 4位 · 48×48 32位（显示）");
}

// The command asks for a name, starting from the icon's own, and hands the
// save to the system; a failed write is the one thing the user hears about.
TEST_F(WholeIcon, SaveAsksForANameThenSavesTheSelectedIcon) {
    struct Case {
        const char* name;
        std::string file;
        int cell;
        std::string lastName;  // what the dialog kept from the save before
        std::optional<std::string> answer;
        bool fails;
        std::string firstName;
    } cases[] = {
        {"first_save", "lib.dll", 1, "", "/x/whole.ico", false, sys.appPath + "/lib.dll.1.ico"},
        {"cursor_in_last_folder", "a.cur", 0, "/home/u/pic.bmp", "/x/a.cur", false, "/home/u/a.cur.0.cur"},
        {"root_folder", "lib.dll", 0, "/pic.gif", "/big.png", false, "/lib.dll.0.ico"},
        {"cancelled", "lib.dll", 0, "", std::nullopt, false, sys.appPath + "/lib.dll.0.ico"},
        {"write_fails", "lib.dll", 0, "", "/x/full.ico", true, sys.appPath + "/lib.dll.0.ico"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.file, c.file == "a.cur" ? "1" : "2", true);
        f.picIcon(static_cast<std::int16_t>(c.cell)).Click.raise();
        f.CD.FileName = c.lastName;
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
    // Nothing selected: no dialog at all.
    panel.ClearIcons();
    screen.saveDialogs.clear();
    panel.mnuIcons_Click(2);
    EXPECT_TRUE(screen.saveDialogs.empty());
}

}  // namespace
}  // namespace icon_panel_test
