// The cells' size: chosen from the icon menu, by Ctrl with plus or minus or
// with the wheel, kept between runs; the grid laid out again for it, and the
// icons drawn afresh at the size they are seen.
#include <filesystem>

#include "icon_file_builders.h"
#include "main_window/settings.h"
#include "panel_fixture.h"
#include "system/settings_file.h"

namespace icon_panel_test {
namespace {

namespace key = platform::key;
using pixels::MakeArgb;

// An icon of three images, each of its own colour: 32x32 and 48x48 DIBs and a 256x256 PNG.
icon_files::Bytes ThreeSizes() {
    const auto dib = [](int side, pixels::Argb c) {
        return icon_files::MakeDib(icon_files::SolidDib(side, side, 32, c));
    };
    return icon_files::MakeIco({{32, 32, 0, 1, 32, dib(32, MakeArgb(200, 0, 0))},
                                {48, 48, 0, 1, 32, dib(48, MakeArgb(0, 200, 0))},
                                {0, 0, 0, 1, 32, icon_files::MakePng(256, 256, std::vector(256 * 256, MakeArgb(0, 0, 200)))}});
}

class CellSize : public PanelTest {
protected:
    CellSize() {
        sys.settingsPath = config.file("settings");
        for (int i = 0; i < 12; ++i) folder.write("icon" + std::to_string(i) + ".ico", ThreeSizes());
    }
    test_support::TempFolder config, folder;

    // Twelve one-icon files in the grid, as show-all leaves them.
    void ShowTwelve() {
        f.Dir1.setPath(folder.path());  // the scan lists them
        panel.ShowAllIcons();
        ASSERT_EQ(f.IconCount, 12);
    }
    std::vector<bool> Ticks() {
        std::vector<bool> out;
        for (int k = 0; k < main_window::kCellSizeCount; ++k) out.push_back(f.mnuIconSizes(k).Checked());
        return out;
    }
};

TEST_F(CellSize, EachWayOfChoosingStepsThroughTheSizesAndKeepsTheChoice) {
    const struct {
        const char* name;
        std::function<void(icon_panel::IconPanel&, main_window::frmMain&)> act;
        int pixels;
    } steps[] = {
        {"menu_64", [](auto&, auto& f) { f.mnuIconSizes(2).Click.raise(); }, 64},
        {"ctrl_plus", [](auto&, auto& f) { f.Me.KeyDown.raise(key::kOemPlus, platform::mouse::kCtrl); }, 128},
        {"plus_without_ctrl_does_nothing", [](auto&, auto& f) { f.Me.KeyDown.raise(key::kOemPlus, 0); }, 128},
        {"keypad_plus", [](auto&, auto& f) { f.Me.KeyDown.raise(key::kAdd, platform::mouse::kCtrl); }, 256},
        {"past_the_largest_stays", [](auto&, auto& f) { f.Me.KeyDown.raise(key::kAdd, platform::mouse::kCtrl); }, 256},
        {"wheel_two_notches_towards", [](auto&, auto& f) { f.picIconHolder.MouseWheel.raise(-2, platform::mouse::kCtrl); }, 64},
        {"wheel_without_ctrl_scrolls_instead", [](auto&, auto& f) { f.picIconHolder.MouseWheel.raise(-1, 0); }, 64},
        {"ctrl_minus", [](auto&, auto& f) { f.Me.KeyDown.raise(key::kOemMinus, platform::mouse::kCtrl); }, 48},
        {"keypad_minus_twice", [](auto&, auto& f) {
             f.Me.KeyDown.raise(key::kSubtract, platform::mouse::kCtrl);
             f.Me.KeyDown.raise(key::kSubtract, platform::mouse::kCtrl);
         }, 32},
    };
    MakeCells(3);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.act(panel, f);
        EXPECT_EQ(f.CellPixels, s.pixels);
        EXPECT_EQ(f.CellWidth, 15 * s.pixels);
        EXPECT_EQ(f.CellHeight, 15 * s.pixels);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(f.picIcon(k).Width(), 15 * s.pixels) << "cell " << k;
        std::vector<bool> ticks(main_window::kCellSizeCount);
        for (int k = 0; k < main_window::kCellSizeCount; ++k) ticks[k] = main_window::kCellSizes[k] == s.pixels;
        EXPECT_EQ(Ticks(), ticks);
        // The next run starts where this one is.
        app::TesselWindow next(screen, sys);
        EXPECT_EQ(next.form.CellPixels, s.pixels);
    }
}

TEST_F(CellSize, ASettingThatNamesNoSizeMeansThirtyTwo) {
    const struct { const char* text; int pixels; } cases[] = {
        {"cell-size=48\n", 48}, {"all-program-files=true\ncell-size=256\n", 256}, {"cell-size=50\n", 32},
        {"cell-size=\n", 32},   {"cell-size= 64\n", 32},                         {"", 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(platform::WriteSettingsFile(sys.settingsPath, c.text));
        app::TesselWindow w2(screen, sys);
        w2.form.Me.Load.raise();
        EXPECT_EQ(w2.form.CellPixels, c.pixels);
        EXPECT_EQ(w2.form.picIcon(0).Width(), 15 * c.pixels);
    }
}

TEST_F(CellSize, TheGridIsLaidOutAgainWithTheSelectionInView) {
    ShowTwelve();
    panel.picIcon_Click(11);
    const std::string before = platform::ReadSettingsFile(sys.settingsPath);
    panel.SetCellSize(256);
    EXPECT_EQ(platform::ReadSettingsFile(sys.settingsPath), main_window::WithSetting(before, "cell-size", "256"));
    const platform::GridLayout grid(f.fraIcons.Width(), 3840, 3840);
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.picIcon(k).Left(), grid.Cell(k).left);
        EXPECT_EQ(f.picIcon(k).Top(), grid.Cell(k).top);
        // What the cell keeps is the standard picture, however large it is shown.
        EXPECT_EQ(f.picIcon(k).Drawn().width, 32);
    }
    EXPECT_EQ(f.SelectedIcon, 11);
    EXPECT_EQ(Lines(), (std::vector<Segment>{{grid.Cell(11).left - 18, grid.Cell(11).top - 18,
                                              grid.Cell(11).left + 3840 + 18, grid.Cell(11).top - 18},
                                             {grid.Cell(11).left - 18, grid.Cell(11).top - 18, grid.Cell(11).left - 18,
                                              grid.Cell(11).top + 3840 + 18},
                                             {grid.Cell(11).left + 3840, grid.Cell(11).top - 18,
                                              grid.Cell(11).left + 3840, grid.Cell(11).top + 3840 + 18},
                                             {grid.Cell(11).left - 18, grid.Cell(11).top + 3840,
                                              grid.Cell(11).left + 3840 + 18, grid.Cell(11).top + 3840}}));
    // In the last row: scrolled down to it, as far as the bar reaches.
    const float shown = -f.fraIcons.Top();
    EXPECT_GT(f.VS.Max(), 0);
    EXPECT_EQ(f.VS.Value(), f.VS.Max());
    EXPECT_GE(f.picIcon(11).Top(), shown);
    EXPECT_TRUE(f.fraIcons.Visible());
    EXPECT_EQ(f.lblStatus.Caption(), "");
}

// Copy, the picture save, the tooltip and a view's fresh drawing all take the
// image chosen for the size they give; the standard cell stays as it was.
TEST_F(CellSize, WhatLeavesThePanelIsDrawnForItsSize) {
    ShowTwelve();
    const std::string file = folder.file("icon3.ico");
    const auto expected = [&](int pixels) {
        pixels::Bitmap b(pixels, pixels, kWindowColour);
        icons::DrawIcon(b, 0, 0, *icons::ExtractIconFromFile(file, 0, pixels));
        return b;
    };
    const struct { int cellPixels; double ratio; int shown; } cases[] = {
        {32, 1, 0}, {32, 2, 2}, {48, 1, 1}, {48, 1.5, 2}, {256, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cellPixels) + " at " + std::to_string(c.ratio));
        panel.SetCellSize(c.cellPixels);
        screen.pixelRatio = c.ratio;
        panel.picIcon_Click(3);
        panel.mnuIcons_Click(0);
        ASSERT_TRUE(screen.clipboard.has_value());
        EXPECT_EQ(*screen.clipboard, expected(c.cellPixels)) << "the copy does not depend on the screen";
        if (c.cellPixels == 32) {
            EXPECT_EQ(*screen.clipboard, f.picIcon(3).Image());
        }
        EXPECT_EQ(panel.CellPicture(3, panel.ShownPixels()), expected(panel.ShownPixels()));
        f.picIcon(3).setToolTipText("");
        panel.picIcon_MouseMove(3, 0, 0, 0, 0);
        const std::string tip = f.picIcon(3).ToolTipText();
        const std::string marks[] = {"32×32 32位（显示）", "48×48 32位（显示）", "256×256 PNG（显示）"};
        EXPECT_NE(tip.find(marks[c.shown]), std::string::npos) << tip;
    }
    // A cell from nowhere has nothing to draw afresh.
    panel.ClearIcons();
    EXPECT_FALSE(panel.CellPicture(3, 64).has_value());
}

}  // namespace
}  // namespace icon_panel_test
