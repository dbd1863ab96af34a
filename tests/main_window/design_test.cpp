// The window as designed: every control's container, geometry and tab
// order, the captions, the menus and the form-level state at creation.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "window_fixture.h"

namespace {

using main_window::frmMain;
using main_window_test::TestWindow;
using platform::Control;
using platform::Failure;

struct DesignCase {
    const char* name;
    std::function<const Control&(frmMain&)> control;
    std::function<const Control*(frmMain&)> container;
    float left, top, width, height;
    int tab;
};

TEST(Design, EveryControlSitsWhereItWasDesigned) {
    const DesignCase cases[] = {
        {"fraNoFiles", [](frmMain& f) -> const Control& { return f.fraNoFiles; }, [](frmMain& f) { return &f.Me; }, 2640, 5640, 2535, 375, 10},
        {"lblNoFiles", [](frmMain& f) -> const Control& { return f.lblNoFiles; }, [](frmMain& f) -> const Control* { return &f.fraNoFiles; }, 0, 0, 2535, 375, 11},
        {"picIconHolder", [](frmMain& f) -> const Control& { return f.picIconHolder; }, [](frmMain& f) { return &f.Me; }, 4440, 0, 4335, 5535, 5},
        {"fraIconHolder", [](frmMain& f) -> const Control& { return f.fraIconHolder; }, [](frmMain& f) -> const Control* { return &f.picIconHolder; }, 0, 0, 4215, 5175, 6},
        {"VS", [](frmMain& f) -> const Control& { return f.VS; }, [](frmMain& f) -> const Control* { return &f.fraIconHolder; }, 3840, 120, 255, 1575, 9},
        {"fraIcons", [](frmMain& f) -> const Control& { return f.fraIcons; }, [](frmMain& f) -> const Control* { return &f.fraIconHolder; }, 360, 360, 3495, 4215, 7},
        {"picIcon(0)", [](frmMain& f) -> const Control& { return f.picIcon(0); }, [](frmMain& f) -> const Control* { return &f.fraIcons; }, 240, 240, 495, 495, 8},
        {"picStatus", [](frmMain& f) -> const Control& { return f.picStatus; }, [](frmMain& f) { return &f.Me; }, 0, 7500, 9630, 375, 2},
        {"progbar", [](frmMain& f) -> const Control& { return f.progbar; }, [](frmMain& f) -> const Control* { return &f.picStatus; }, 2040, 120, 4695, 135, 4},
        {"lblStatus", [](frmMain& f) -> const Control& { return f.lblStatus; }, [](frmMain& f) -> const Control* { return &f.picStatus; }, 60, 60, 540, 180, 3},
        {"Dir1", [](frmMain& f) -> const Control& { return f.Dir1; }, [](frmMain& f) { return &f.Me; }, 120, 480, 2895, 2790, 1},
        {"Drive1", [](frmMain& f) -> const Control& { return f.Drive1; }, [](frmMain& f) { return &f.Me; }, 120, 120, 2895, 315, 0},
        {"File1", [](frmMain& f) -> const Control& { return f.File1; }, [](frmMain& f) { return &f.Me; }, 120, 3360, 2895, 3975, 12},
    };
    TestWindow w;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Control& ctl = c.control(w.f());
        EXPECT_EQ(ctl.Container(), c.container(w.f()));
        EXPECT_EQ(ctl.Left(), c.left);
        EXPECT_EQ(ctl.Top(), c.top);
        EXPECT_EQ(ctl.Width(), c.width);
        EXPECT_EQ(ctl.Height(), c.height);
        EXPECT_EQ(ctl.TabIndex(), c.tab);
    }
}

TEST(Design, TabOrderHasNoGapsOrRepeats) {
    TestWindow w;
    frmMain& f = w.f();
    const Control* byTab[13] = {};
    for (const Control* c : std::initializer_list<const Control*>{
             &f.fraNoFiles, &f.lblNoFiles, &f.picIconHolder, &f.fraIconHolder, &f.VS, &f.fraIcons, &f.picIcon(0),
             &f.picStatus, &f.progbar, &f.lblStatus, &f.Dir1, &f.Drive1, &f.File1}) {
        ASSERT_GE(c->TabIndex(), 0) << c->Name();
        ASSERT_LT(c->TabIndex(), 13) << c->Name();
        EXPECT_EQ(byTab[c->TabIndex()], nullptr) << c->Name();
        byTab[c->TabIndex()] = c;
    }
}

TEST(Design, TheWindow) {
    TestWindow w;
    frmMain& f = w.f();
    EXPECT_EQ(f.Me.Caption(), "Tessel保存文件图标");
    EXPECT_EQ(f.Me.ScaleWidth(), 9630);
    EXPECT_EQ(f.Me.ScaleHeight(), 7875);
    EXPECT_EQ(f.Me.BackColor(), pixels::MakeArgb(255, 255, 255));
    EXPECT_EQ(f.Me.State(), platform::WindowState::Normal);
}

TEST(Design, TheClientAreaIsTheSameTwipsAtAnyDpi) {
    TestWindow w(120, 120);
    EXPECT_EQ(w.f().Me.ScaleWidth(), 9630);
    EXPECT_EQ(w.f().Me.ScaleHeight(), 7875);
}

TEST(Design, CaptionsAndSettings) {
    TestWindow w;
    frmMain& f = w.f();
    EXPECT_EQ(f.lblNoFiles.Caption(), "无法查找当前目录图标或当前目录图标无效。");
    EXPECT_EQ(f.fraNoFiles.Caption(), "Frame1");
    EXPECT_EQ(f.lblStatus.Caption(), "Label1");
    EXPECT_TRUE(f.lblStatus.AutoSize());
    EXPECT_EQ(f.Timer1.Interval(), 1000);
    EXPECT_TRUE(f.Timer1.Enabled());
    EXPECT_EQ(f.VS.Min(), 0);
    EXPECT_EQ(f.VS.Max(), 0);
    EXPECT_EQ(f.VS.Value(), 0);
    EXPECT_EQ(f.progbar.Min(), 0);
    EXPECT_EQ(f.progbar.Max(), 100);
    EXPECT_EQ(f.picIcon.Count(), 1);
    EXPECT_EQ(f.File1.Count(), 0);
    EXPECT_TRUE(f.File1.Sorted());
    ASSERT_EQ(f.File1.ColumnCount(), 2);
    EXPECT_EQ(f.File1.ColumnText(1), "文件名称 (0)");
    EXPECT_EQ(f.File1.ColumnWidth(1), 1900);
    EXPECT_EQ(f.File1.ColumnText(2), "0");
    EXPECT_EQ(f.File1.ColumnWidth(2), 1500);
    // The cells and the panel are drawn in the window colours.
    EXPECT_EQ(f.picIcon(0).BackColor(), w.screen.WindowColor());
    EXPECT_EQ(f.picIconHolder.BackColor(), w.screen.WindowColor());
    EXPECT_EQ(f.fraIcons.BackColor(), w.screen.WindowColor());
}

TEST(Design, FormStateStartsAtZero) {
    TestWindow w;
    frmMain& f = w.f();
    EXPECT_EQ(f.SelectedIcon, 0);
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.TotalIcons, 0);
    EXPECT_FALSE(f.CellsExhausted);
    EXPECT_EQ(f.CellWidth, 0);
    EXPECT_EQ(f.CellHeight, 0);
    EXPECT_FALSE(f.Ended());
}

TEST(Design, TheSelectionFrameStartsHiddenAndGreen) {
    const struct {
        int i;
        float x1, y1, x2, y2;
    } cases[] = {{0, 0, 0, 0, 720}, {1, 0, 1080, 0, 1800}, {2, 0, 1920, 0, 2640}, {3, 0, 2880, 0, 3600}};
    TestWindow w;
    frmMain& f = w.f();
    EXPECT_EQ(f.lnFrame.Count(), 4);
    EXPECT_THROW(f.lnFrame(4), Failure);
    for (const auto& c : cases) {
        SCOPED_TRACE("lnFrame(" + std::to_string(c.i) + ")");
        const platform::Line& l = f.lnFrame(c.i);
        EXPECT_EQ(l.Container(), &f.fraIcons);
        EXPECT_EQ(l.X1(), c.x1);
        EXPECT_EQ(l.Y1(), c.y1);
        EXPECT_EQ(l.X2(), c.x2);
        EXPECT_EQ(l.Y2(), c.y2);
        EXPECT_EQ(l.BorderColor(), pixels::MakeArgb(0, 255, 0));
        EXPECT_FALSE(l.Visible());
    }
}

struct MenuItemCase {
    const char* name;
    std::function<platform::Menu&(frmMain&)> item;
    int topIndex;     // the holder it belongs to
    int position;     // among the holder's items
    int index;        // its own control-array index, -1 for none
    const char* caption;
    const char* shortcut;
};

TEST(Design, PopupMenus) {
    const MenuItemCase cases[] = {
        {"mnuIcons(0)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(0); }, 1, 0, 0, "复制到剪贴板", "Ctrl+C"},
        {"mnuIcons(1)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(1); }, 1, 1, 1, "保存图标", "Ctrl+S"},
        {"mnuIcons(2)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(2); }, 1, 2, 2, "保存完整图标...", "Ctrl+Shift+S"},
        {"mnuIcons(3)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(3); }, 1, 3, 3, "保存图像", ""},
        {"mnuIcons(4)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(4); }, 1, 4, 4, "保存全部图标...", ""},
        {"mnuIcons(5)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(5); }, 1, 5, 5, "安装为应用图标...", ""},
        {"mnuIcons(6)", [](frmMain& f) -> platform::Menu& { return f.mnuIcons(6); }, 1, 6, 6, "创建启动器...", ""},
        {"mnuIconSize", [](frmMain& f) -> platform::Menu& { return f.mnuIconSize(); }, 1, 7, -1, "图标大小", ""},
        {"mnulin2", [](frmMain& f) -> platform::Menu& { return f.mnulin2(); }, 1, 8, -1, "-", ""},
        {"mnutesselblog", [](frmMain& f) -> platform::Menu& { return f.mnutesselblog(); }, 1, 9, -1, "Tessel博客", ""},
        {"mnuDirectories(0)", [](frmMain& f) -> platform::Menu& { return f.mnuDirectories(0); }, 2, 0, 0, "显示全部图标", "Ctrl+A"},
        {"mnulin3", [](frmMain& f) -> platform::Menu& { return f.mnulin3(); }, 2, 1, -1, "-", ""},
        {"mnuAllProgramFiles", [](frmMain& f) -> platform::Menu& { return f.mnuAllProgramFiles(); }, 2, 2, -1, "所有程序文件", ""},
        {"mnuIncludeSubfolders", [](frmMain& f) -> platform::Menu& { return f.mnuIncludeSubfolders(); }, 2, 3, -1, "包括子文件夹", ""},
        {"mnuIncludeCursors", [](frmMain& f) -> platform::Menu& { return f.mnuIncludeCursors(); }, 2, 4, -1, "包括光标", ""},
    };
    TestWindow w;
    frmMain& f = w.f();
    EXPECT_EQ(f.mnuTop(1).Caption(), "操作");
    EXPECT_EQ(f.mnuTop(2).Caption(), "目录");
    EXPECT_EQ(f.mnuTop(1).Index(), 1);
    EXPECT_EQ(f.mnuTop(2).Index(), 2);
    EXPECT_FALSE(f.mnuTop(1).Visible());
    EXPECT_FALSE(f.mnuTop(2).Visible());
    EXPECT_EQ(f.mnuTop(1).Items().size(), 10u);
    EXPECT_EQ(f.mnuTop(2).Items().size(), 5u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::Menu& m = c.item(f);
        const auto& items = f.mnuTop(c.topIndex).Items();
        ASSERT_LT(static_cast<std::size_t>(c.position), items.size());
        EXPECT_EQ(items[static_cast<std::size_t>(c.position)].get(), &m);
        EXPECT_EQ(m.Caption(), c.caption);
        EXPECT_EQ(m.Shortcut(), c.shortcut);
        EXPECT_EQ(m.Index(), c.index);
        EXPECT_EQ(m.IsSeparator(), std::string(c.caption) == "-");
    }
}

TEST(Design, MenuElementsThatDoNotExistFail) {
    TestWindow w;
    frmMain& f = w.f();
    const struct {
        const char* name;
        std::function<void()> lookup;
    } cases[] = {
        {"mnuTop(0)", [&] { f.mnuTop(0); }},
        {"mnuTop(3)", [&] { f.mnuTop(3); }},
        {"mnuTop(-1)", [&] { f.mnuTop(-1); }},
        {"mnuIcons(7)", [&] { f.mnuIcons(7); }},
        {"mnuIconSizes(5)", [&] { f.mnuIconSizes(5); }},
        {"mnuIcons(-1)", [&] { f.mnuIcons(-1); }},
        {"mnuDirectories(1)", [&] { f.mnuDirectories(1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.lookup(), Failure);
    }
}

TEST(Design, MenuSkinSettings) {
    using pixels::MakeArgb;
    TestWindow w;
    const main_window::MenuSkin& s = w.f().ctxChromabar1;
    const struct {
        const char* name;
        pixels::Argb got, want;
    } colours[] = {
        {"userselectedmenubackcolour", s.selectedMenuBack, MakeArgb(255, 251, 198)},
        {"userselectedmenubordercolour", s.selectedMenuBorder, MakeArgb(0, 0, 255)},
        {"usertopmenubackcolour", s.topMenuBack, MakeArgb(165, 195, 255)},
        {"usertopmenuselectedcolour", s.topMenuSelected, MakeArgb(198, 227, 255)},
        {"usertopmenuhotcolour", s.topMenuHot, MakeArgb(255, 128, 0)},
        {"usertopmenuhotbordercolour", s.topMenuHotBorder, MakeArgb(0, 0, 255)},
        {"usermenubordercolour", s.menuBorder, MakeArgb(0, 0, 128)},
        {"usercheckbackcolour", s.checkBack, MakeArgb(239, 186, 123)},
        {"usercheckbordercolour", s.checkBorder, MakeArgb(0, 0, 255)},
        {"usergradientone", s.gradientOne, MakeArgb(255, 255, 255)},
        {"usergradienttwo", s.gradientTwo, MakeArgb(165, 195, 255)},
        {"userselecteditemforecolour", s.selectedItemFore, MakeArgb(0, 64, 0)},
        {"usersidebarcolour", s.sidebar, MakeArgb(0, 0, 255)},
    };
    for (const auto& c : colours) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
    EXPECT_TRUE(s.useGradient);
    EXPECT_EQ(std::string(s.fontFamily), "宋体");
    EXPECT_EQ(s.fontPointSize, 9);
    EXPECT_EQ(s.fontWeight, 400);
    EXPECT_EQ(s.fontCharset, 134);
    EXPECT_EQ(s.bitmapCount, 0);
}

TEST(Design, TheFolderViewStartsAtTheCurrentFolder) {
    TestWindow w;
    frmMain& f = w.f();
    const auto cwd = w.sys.ResolveFolder("/", std::string(std::filesystem::current_path()));
    ASSERT_TRUE(cwd.has_value());
    EXPECT_EQ(f.Dir1.Path(), *cwd);
    // The drive shown is a mounted root that holds that folder.
    const std::string& drive = f.Drive1.Drive();
    ASSERT_FALSE(drive.empty());
    EXPECT_EQ(f.Dir1.Path().rfind(drive, 0), 0u) << drive;
}

}  // namespace
