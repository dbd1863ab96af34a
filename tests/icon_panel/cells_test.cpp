// The cells and the selection frame: where the four lines go, what a failed
// selection leaves alone, and what emptying the panel keeps.
#include "panel_fixture.h"

namespace icon_panel_test {
namespace {

using Cells = PanelTest;

TEST_F(Cells, FrameLinesOfACellAt200By200) {
    MakeCells(2);
    f.picIcon(1).Move(200, 200, 480, 480);
    panel.SelectIcon(1);
    EXPECT_EQ(Line(0), (Segment{182, 182, 698, 182})) << "top";
    EXPECT_EQ(Line(1), (Segment{182, 182, 182, 698})) << "left";
    EXPECT_EQ(Line(2), (Segment{680, 182, 680, 698})) << "right";
    EXPECT_EQ(Line(3), (Segment{182, 680, 698, 680})) << "bottom";
}

TEST_F(Cells, FrameLinesRoundHalvesToEven) {
    // A cell at 200.5 by 201.5, 480.5 wide: every end point is a half.
    MakeCells(2);
    f.picIcon(1).Move(200.5, 201.5, 480.5, 479.0);
    panel.SelectIcon(1);
    // L-18 = 182.5 -> 182, T-18 = 183.5 -> 184, L+W+18 = 699 -> 699,
    // L+W = 681, T+H+18 = 698.5 -> 698, T+H = 680.5 -> 680.
    EXPECT_EQ(Line(0), (Segment{182, 184, 699, 184}));
    EXPECT_EQ(Line(1), (Segment{182, 184, 182, 698}));
    EXPECT_EQ(Line(2), (Segment{681, 184, 681, 698}));
    EXPECT_EQ(Line(3), (Segment{182, 680, 699, 680}));
}

TEST_F(Cells, SelectIconDoesNotShowOrHideTheFrame) {
    MakeCells(2);
    panel.SelectIcon(1);
    EXPECT_TRUE(FrameHidden());
    f.ShowSelectionFrame(true);
    panel.SelectIcon(0);
    EXPECT_TRUE(FrameShown());
}

struct BadIndex {
    const char* name;
    std::int32_t index;
};
void PrintTo(const BadIndex& c, std::ostream* os) { *os << c.name; }

class SelectIconFails : public PanelTest, public ::testing::WithParamInterface<BadIndex> {};

TEST_P(SelectIconFails, AndMovesNoLine) {
    MakeCells(3);
    f.picIcon(2).Move(1000, 2000);
    panel.SelectIcon(2);
    const std::vector<Segment> before = Lines();
    EXPECT_THROW(panel.SelectIcon(GetParam().index), platform::Failure);
    EXPECT_EQ(Lines(), before);
}

INSTANTIATE_TEST_SUITE_P(Indexes, SelectIconFails,
                         ::testing::Values(BadIndex{"NoSelection", -1}, BadIndex{"PastTheLastCell", 3},
                                           BadIndex{"FarPastTheLastCell", 32767}, BadIndex{"BeyondSixteenBits", 40000},
                                           BadIndex{"BelowSixteenBits", -40000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cells, SelectIconAfterAnUnloadFailsForTheGoneCell) {
    MakeCells(4);
    f.picIcon(3).Move(3000, 3000);
    panel.SelectIcon(1);
    const std::vector<Segment> before = Lines();
    f.picIcon.Unload(3);
    EXPECT_THROW(panel.SelectIcon(3), platform::Failure);
    EXPECT_EQ(Lines(), before);
}

TEST_F(Cells, ClickingACellWhileTheFrameIsHiddenMovesTheFrameHidden) {
    MakeCells(5);
    f.picIcon(3).Move(2240, 880);
    panel.ClearIcons();
    f.picIcon(3).Click.raise();  // the user clicks the blank cell left over
    EXPECT_EQ(f.SelectedIcon, 3);
    EXPECT_EQ(Lines(), FrameAround(2240, 880));
    EXPECT_TRUE(FrameHidden());
}

TEST_F(Cells, ClickingACellWhileTheFrameIsShownKeepsItShown) {
    MakeCells(3);
    f.picIcon(0).Move(200, 200);
    f.picIcon(2).Move(1560, 200);
    f.SelectedIcon = 0;
    panel.SelectIcon(0);
    f.ShowSelectionFrame(true);
    f.picIcon(2).Click.raise();
    EXPECT_EQ(f.SelectedIcon, 2);
    EXPECT_EQ(Lines(), FrameAround(1560, 200));
    EXPECT_TRUE(FrameShown());
}

TEST_F(Cells, ClearIconsKeepsEveryCellBlankInPlace) {
    MakeCells(5);
    for (int k = 0; k < 5; ++k) {
        platform::PictureBox& c = f.picIcon(k);
        c.Move(200 + 680 * k, 200);
        c.setVisible(true);
        c.Draw([](pixels::Bitmap& b) { b.fill(pixels::MakeArgb(255, 0, 0)); });
    }
    // Scrolled down, with a selection framed: the state a load and an arrangement leave.
    f.IconCount = 5;
    f.SelectedIcon = 2;
    panel.SelectIcon(2);
    f.ShowSelectionFrame(true);
    f.VS.setMax(900);
    f.VS.setValue(600);
    ASSERT_EQ(f.fraIcons.Top(), -600);

    panel.ClearIcons();

    EXPECT_EQ(f.picIcon.Count(), 5);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const platform::PictureBox& c = f.picIcon(k);
        EXPECT_TRUE(c.IsBlank());
        EXPECT_EQ(c.Image(), pixels::Bitmap(32, 32, kWindowColour));
        EXPECT_TRUE(c.Visible());
        EXPECT_EQ(c.Left(), 200 + 680 * k);
        EXPECT_EQ(c.Top(), 200);
    }
    EXPECT_EQ(f.VS.Min(), 0);
    EXPECT_EQ(f.VS.Max(), 0);
    EXPECT_EQ(f.VS.Value(), 0);
    EXPECT_EQ(f.fraIcons.Top(), 0);
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.SelectedIcon, -1);
    EXPECT_TRUE(FrameHidden());
}

TEST_F(Cells, ClearIconsWithOnlyTheTemplate) {
    f.picIcon(0).Draw([](pixels::Bitmap& b) { b.fill(pixels::MakeArgb(0, 0, 255)); });
    f.fraIcons.setTop(120);  // where start-up leaves it
    panel.ClearIcons();
    EXPECT_EQ(f.picIcon.Count(), 1);
    EXPECT_TRUE(f.picIcon(0).IsBlank());
    EXPECT_EQ(f.fraIcons.Top(), 0);
}

TEST_F(Cells, ScrollingMovesTheCanvasNotTheFrame) {
    MakeCells(2);
    f.picIcon(1).Move(200, 880);
    f.SelectedIcon = 1;
    panel.SelectIcon(1);
    const std::vector<Segment> before = Lines();
    f.VS.setMax(1000);
    f.VS.setValue(600);
    EXPECT_EQ(f.fraIcons.Top(), -600);
    // The lines live on the canvas beside the cells and so scroll with them.
    EXPECT_EQ(Lines(), before);
}

}  // namespace
}  // namespace icon_panel_test
