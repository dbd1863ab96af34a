// Form_Load, Form_Unload, the timer and the blog item (the program's own page).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using main_window::frmMain;
using main_window_test::Snapshot;
using main_window_test::TestWindow;

struct DpiCase {
    const char* name;
    double dpiX, dpiY;
    int cellWidth, cellHeight;
};

TEST(FormLoad, SizesTheTemplateCellToThirtyTwoPixels) {
    const DpiCase cases[] = {
        {"96_dpi", 96, 96, 480, 480},
        {"120_dpi", 120, 120, 384, 384},
        {"144_dpi", 144, 144, 320, 320},
        {"72_dpi", 72, 72, 640, 640},
        {"axes_apart", 96, 120, 480, 384},
        {"half_twip_rounds_down_to_even", 2048, 2048, 22, 22},  // 22.5
        {"half_twip_rounds_up_to_even", 6144, 6144, 8, 8},      // 7.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w(c.dpiX, c.dpiY);
        frmMain& f = w.f();
        f.Form_Load();
        EXPECT_EQ(f.CellWidth, c.cellWidth);
        EXPECT_EQ(f.CellHeight, c.cellHeight);
        EXPECT_EQ(f.picIcon(0).Width(), c.cellWidth);
        EXPECT_EQ(f.picIcon(0).Height(), c.cellHeight);
        // The designed place of the cell stays.
        EXPECT_EQ(f.picIcon(0).Left(), 240);
        EXPECT_EQ(f.picIcon(0).Top(), 240);
    }
}

TEST(FormLoad, TheTemplateCellsImageIsOneIcon) {
    for (double dpi : {96.0, 120.0}) {
        SCOPED_TRACE(dpi);
        TestWindow w(dpi, dpi);
        w.f().Form_Load();
        const pixels::Bitmap img = w.f().picIcon(0).Image();
        EXPECT_EQ(img.width, 32);
        EXPECT_EQ(img.height, 32);
    }
}

TEST(FormLoad, PlacesThePanelAndClearsTheStatusBar) {
    TestWindow w;
    frmMain& f = w.f();
    // Dirty what start-up must put right.
    f.progbar.setValue(50);
    f.progbar.setVisible(true);
    f.SelectedIcon = 7;
    f.lnFrame(0).setVisible(true);
    f.lnFrame(3).setVisible(true);
    const int yields = w.screen.yields;

    f.Me.Load.raise();

    const struct {
        const char* name;
        const platform::Control& c;
        float left, top, width, height;
    } geometry[] = {
        {"picIconHolder", f.picIconHolder, 3135, 120, 4335, 5535},
        {"fraIconHolder", f.fraIconHolder, 0, 0, 4215, 5175},
        {"fraIcons", f.fraIcons, 360, 120, 3495, 4215},
        {"VS", f.VS, 3840, 0, 255, 1575},
        {"picIcon(0)", f.picIcon(0), 240, 240, 480, 480},
        {"lblStatus", f.lblStatus, 60, 60, 0, 180},
        {"progbar", f.progbar, 110, 120, 9520, 135},
        {"Drive1", f.Drive1, 120, 120, 2895, 315},
        {"Dir1", f.Dir1, 120, 480, 2895, 2790},
        {"File1", f.File1, 120, 3360, 2895, 3975},
        {"picStatus", f.picStatus, 0, 7500, 9630, 375},
    };
    for (const auto& g : geometry) {
        SCOPED_TRACE(g.name);
        EXPECT_EQ(g.c.Left(), g.left);
        EXPECT_EQ(g.c.Top(), g.top);
        EXPECT_EQ(g.c.Width(), g.width);
        EXPECT_EQ(g.c.Height(), g.height);
    }
    EXPECT_EQ(f.CellWidth, 480);
    EXPECT_EQ(f.CellHeight, 480);
    EXPECT_EQ(f.lblStatus.Caption(), "");
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_EQ(f.progbar.Value(), 0);
    EXPECT_EQ(f.SelectedIcon, -1);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(f.lnFrame(i).Visible());
    }
    // Start-up scans nothing: the list stays empty, and ShowProgress yields once.
    EXPECT_EQ(f.File1.Count(), 0);
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.picIcon.Count(), 1);
    EXPECT_EQ(w.screen.yields, yields + 1);
    EXPECT_TRUE(w.sys.extractions.empty());
    EXPECT_FALSE(w.screen.ended);
}

TEST(FormLoad, ThePanelStartsRightOfTheDriveList) {
    const struct {
        const char* name;
        double driveLeft, driveWidth;
        float panelLeft;
    } cases[] = {{"designed", 120, 2895, 3135}, {"wider_drive_list", 120, 3000, 3240}, {"moved_drive_list", 300, 2895, 3315}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        w.f().Drive1.setLeft(c.driveLeft);
        w.f().Drive1.setWidth(c.driveWidth);
        w.f().Form_Load();
        EXPECT_EQ(w.f().picIconHolder.Left(), c.panelLeft);
    }
}

TEST(FormUnload, UnloadsTheCellsHighestFirstThenEnds) {
    const struct {
        const char* name;
        int cells;
        std::vector<int> unloaded;
    } cases[] = {
        {"template_only", 1, {}},
        {"two_cells", 2, {1}},
        {"five_cells", 5, {4, 3, 2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        frmMain& f = w.f();
        f.Form_Load();
        for (int i = 1; i < c.cells; ++i) f.picIcon.Load(i);
        std::vector<int> unloaded;
        f.picIcon.unloading = [&](platform::PictureBox& p) {
            EXPECT_FALSE(w.screen.ended) << "End before every cell was unloaded";
            unloaded.push_back(p.Index());
        };
        f.Me.Unload.raise();
        EXPECT_EQ(unloaded, c.unloaded);
        EXPECT_EQ(f.picIcon.Count(), 1);
        EXPECT_TRUE(f.picIcon.Exists(0));
        EXPECT_TRUE(w.screen.ended);
        EXPECT_TRUE(f.Ended());
    }
}

TEST(Timer, EachTickTrimsMemoryAndChangesNothingElse) {
    TestWindow w;
    frmMain& f = w.f();
    f.Form_Load();
    f.ShowStatus("读取文件列表...");
    f.ShowProgress(0, 10);
    f.ShowProgress(4, -1);
    f.picIcon(0).Draw([](pixels::Bitmap&) {});
    f.picIcon(0).Cls();  // its image waits for the next cell drawn
    ASSERT_EQ(f.cellImages.SpareImages(), 1u);
    const std::string before = Snapshot(w);
    const int trims = w.sys.trims;
    f.Timer1.Tick.raise();
    EXPECT_EQ(w.sys.trims, trims + 1);
    f.Timer1.Tick.raise();
    EXPECT_EQ(w.sys.trims, trims + 2);
    EXPECT_EQ(f.cellImages.SpareImages(), 0u) << "idle spare images go back";
    EXPECT_EQ(Snapshot(w), before);
    EXPECT_TRUE(w.sys.opened.empty());
}

// The page found from the program's folder, as the build tree and the package lay it out.
TEST(Blog, OpensTheProgramsOwnPageAndChangesNothingElse) {
    const test_support::TempFolder tmp;
    const std::string docs = "/share/doc/tessel-icons/index.html";
    const struct { const char* name; std::string app, page, url; } cases[] = {
        {"BuildTree", tmp.file("build/src/app"), tmp.file("build/src/app/index.html"), "file://" + tmp.file("build/src/app/index.html")},
        {"Installed", tmp.file("usr/bin"), tmp.file("usr") + docs, "file://" + tmp.file("usr") + docs},
        {"FolderNamesEscaped", tmp.file("a #1/图/bin"), tmp.file("a #1/图") + docs, "file://" + tmp.file("a%20%231/%E5%9B%BE") + docs},
        {"NeitherThereTheInstalledOne", tmp.file("opt/bin"), "", "file://" + tmp.file("opt") + docs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.page.empty() && std::filesystem::create_directories(std::filesystem::path(c.page).parent_path()))
            std::ofstream(c.page) << "<!DOCTYPE html>";
        TestWindow w;
        w.sys.appPath = c.app;
        w.f().Form_Load();
        const std::string before = Snapshot(w);
        const int trims = w.sys.trims;
        w.f().mnutesselblog().Click.raise();
        EXPECT_EQ(w.sys.opened, (std::vector<std::string>{c.url}));
        EXPECT_TRUE(Snapshot(w) == before && w.sys.trims == trims && w.screen.boxes.empty()) << "nothing else changes";
    }
}

TEST(Blog, ChosenFromTheIconMenu) {
    TestWindow w;
    frmMain& f = w.f();
    w.screen.choose = [](platform::Menu& m) { return m.Items().back().get(); };
    w.screen.PopupMenu(f.mnuTop(1));
    EXPECT_EQ(w.sys.opened, (std::vector<std::string>{"file:///opt/share/doc/tessel-icons/index.html"}));
}

TEST(Cells, ALoadedCellCopiesTheTemplatesSizeAndIsHiddenAndBlank) {
    TestWindow w;
    frmMain& f = w.f();
    f.Form_Load();
    platform::PictureBox& tmpl = f.picIcon(0);
    tmpl.Move(1200, 600);
    tmpl.Draw([](pixels::Bitmap& b) { b.fill(pixels::MakeArgb(255, 0, 0)); });
    f.picIcon.Load(1);
    platform::PictureBox& cell = f.picIcon(1);
    EXPECT_EQ(cell.Container(), &f.fraIcons);
    EXPECT_EQ(cell.Left(), 1200);
    EXPECT_EQ(cell.Top(), 600);
    EXPECT_EQ(cell.Width(), 480);
    EXPECT_EQ(cell.Height(), 480);
    EXPECT_FALSE(cell.Visible());
    EXPECT_TRUE(cell.IsBlank());
    EXPECT_EQ(cell.Image(), pixels::Bitmap(32, 32, w.screen.WindowColor()));
    EXPECT_EQ(cell.BackColor(), tmpl.BackColor());
    // The template keeps its own drawing.
    EXPECT_EQ(tmpl.Image(), pixels::Bitmap(32, 32, pixels::MakeArgb(255, 0, 0)));
}

TEST(Cells, EveryCellReportsItsIndex) {
    TestWindow w;
    frmMain& f = w.f();
    for (int i = 1; i <= 3; ++i) f.picIcon.Load(i);
    std::vector<int> clicks, ups;
    f.picIconClick.connect([&](int i) { clicks.push_back(i); });
    f.picIconMouseUp.connect([&](int i, int button, int, float x, float y) {
        ups.push_back(i);
        EXPECT_EQ(button, platform::mouse::kRight);
        EXPECT_EQ(x, 7.5f);
        EXPECT_EQ(y, 15.0f);
    });
    for (int i : {2, 0, 3}) f.picIcon(i).Click.raise();
    for (int i : {3, 1}) f.picIcon(i).MouseUp.raise(platform::mouse::kRight, 0, 7.5f, 15.0f);
    EXPECT_EQ(clicks, (std::vector<int>{2, 0, 3}));
    EXPECT_EQ(ups, (std::vector<int>{3, 1}));
}

}  // namespace
