// The icon menu's "安装为应用图标..." and "创建启动器...": the name asked for,
// what is written, what the status bar and the message boxes say.
#include "panel_fixture.h"

namespace icon_panel_test {
namespace {

using icon_panel::kBadAppIconNameText;
using icon_panel::kNeedsWineText;
using icon_panel::kSaveError;

class Install : public ColouredIcons {
protected:
    // A program's and an icon file's icons in the grid, the program's selected.
    void ShowProgram() {
        const platform::ListItem& program = AddRow("My App.exe", "2");
        iconFileRow = AddRow("cursor.ico", "1").Index();
        panel.ShowIconsOfFile(static_cast<std::int16_t>(program.Index()));
        ASSERT_EQ(f.IconCount, 2);
    }
    int iconFileRow = 0;
};

TEST_F(Install, AsksForTheNameWritesAndSaysWhatItDid) {
    using Installed = std::vector<std::tuple<std::string, int, std::string, bool>>;
    const std::string program = f.Dir1.Path() + "/My App.exe";
    const struct {
        const char* name;
        int item;  // of mnuIcons
        std::optional<std::string> answer;
        bool fails;
        Installed installed;
        std::string status, message;
    } cases[] = {
        {"default_name", 5, "my-app", false, {{program, 1, "my-app", false}}, "已安装图标 my-app：9 个尺寸", ""},
        {"own_name_trimmed", 5, "  mine ", false, {{program, 1, "mine", false}}, "已安装图标 mine：9 个尺寸", ""},
        {"launcher", 6, "app", false, {{program, 1, "app", true}}, "已安装图标 app：9 个尺寸", ""},
        {"cancelled", 5, std::nullopt, false, {}, "", ""},
        {"slash", 6, "a/b", false, {}, "", kBadAppIconNameText},
        {"leading_dot", 5, ".app", false, {}, "", kBadAppIconNameText},
        {"empty", 5, "  ", false, {}, "", kBadAppIconNameText},
        {"cannot_write", 5, "app", true, {}, "", kSaveError},
    };
    ShowProgram();
    panel.picIcon_Click(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sys.installs.clear();
        screen.boxes.clear();
        screen.textQuestions.clear();
        f.ShowStatus("");
        sys.installFails = c.fails;
        screen.textAnswers = {c.answer};
        panel.mnuIcons_Click(static_cast<std::int16_t>(c.item));
        ASSERT_EQ(screen.textQuestions.size(), 1u);
        EXPECT_EQ(screen.textQuestions[0].proposed, "my-app");
        Installed installed;
        for (const auto& i : sys.installs) installed.emplace_back(i.file, i.index, i.name, i.launcher);
        EXPECT_EQ(installed, c.installed);
        EXPECT_EQ(f.lblStatus.Caption(), c.status);
        EXPECT_EQ(screen.boxes.empty() ? "" : screen.boxes.back().prompt, c.message);
    }
}

// The launcher is offered for a program only, and can be chosen only with Wine to start it.
TEST_F(Install, TheLauncherNeedsAProgramAndWine) {
    const struct {
        const char* name;
        int cell;
        bool wine, visible, enabled;
        std::string tip;
    } cases[] = {
        {"program_with_wine", 0, true, true, true, ""},
        {"program_without_wine", 0, false, true, false, kNeedsWineText},
        {"icon_file", 2, true, false, false, ""},
    };
    ShowProgram();
    panel.LoadIconsOfFile(static_cast<std::int16_t>(iconFileRow), false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sys.programsOnPath = c.wine ? std::set<std::string>{"wine"} : std::set<std::string>{};
        panel.picIcon_Click(static_cast<std::int16_t>(c.cell));
        panel.picIcon_MouseUp(static_cast<std::int16_t>(c.cell), platform::mouse::kRight, 0, 0, 0);
        const platform::Menu& launcher = f.mnuIcons(6);
        EXPECT_EQ(launcher.Visible(), c.visible);
        EXPECT_EQ(launcher.Enabled(), c.enabled);
        EXPECT_EQ(launcher.ToolTipText(), c.tip);
        EXPECT_TRUE(f.mnuIcons(5).Enabled());
    }
}

}  // namespace
}  // namespace icon_panel_test
