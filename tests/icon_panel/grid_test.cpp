// The grid: where each cell goes for a canvas width, when the grid scrolls
// and how far, and the scroll bar's three handlers.
#include <cmath>

#include "panel_fixture.h"

namespace icon_panel_test {
namespace {

class Grid : public PanelTest {
protected:
    // Cells as loads leave them; `icons` of them in use.
    void Prepare(int cells, int icons, double canvasWidth, double viewportHeight) {
        MakeCells(cells);
        f.IconCount = icons;
        f.fraIcons.setWidth(canvasWidth);
        f.picIconHolder.setHeight(viewportHeight);
    }
    // Where cell k belongs when a row holds `perRow` cells and the first cell
    // goes into row `firstRow`.
    static platform::Point Place(int k, int perRow, int firstRow) {
        return {200 + 680 * (k % perRow), 200 + 680 * (firstRow + k / perRow)};
    }
    void ExpectPlaced(int cells, int perRow, int firstRow) {
        for (int k = 0; k < cells; ++k) {
            SCOPED_TRACE("cell " + std::to_string(k));
            const platform::Point p = Place(k, perRow, firstRow);
            EXPECT_EQ(f.picIcon(k).Left(), p.x);
            EXPECT_EQ(f.picIcon(k).Top(), p.y);
        }
    }
};

TEST_F(Grid, WorkedExample) {
    Prepare(12, 12, 4000, 1500);
    panel.ArrangeIcons();
    const int lefts[] = {200, 880, 1560, 2240, 2920};
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.picIcon(k).Left(), lefts[k % 5]);
        EXPECT_EQ(f.picIcon(k).Top(), k < 5 ? 200 : k < 10 ? 880 : 1560);
    }
    EXPECT_EQ(f.picIcon(5).Left(), 200);
    EXPECT_EQ(f.picIcon(11).Left(), 880);
    EXPECT_EQ(f.VS.Max(), 540);
    EXPECT_EQ(f.VS.SmallChange(), 600);
    EXPECT_EQ(f.VS.LargeChange(), 3000);
    EXPECT_EQ(f.fraIcons.Height(), 2040);
}

struct Layout {
    const char* name;
    double canvasWidth;
    int cells, icons;
    double viewport;
    // expected
    int perRow, firstRow;
    int bottom;  // G: the last row's bottom edge
    bool scrolls;
    int max;
};
void PrintTo(const Layout& c, std::ostream* os) { *os << c.name; }
constexpr int kMaxBefore = 123;

class Arrangement : public Grid, public ::testing::WithParamInterface<Layout> {};

TEST_P(Arrangement, PlacesCellsAndSetsTheScrollBar) {
    const Layout& c = GetParam();
    Prepare(c.cells, c.icons, c.canvasWidth, c.viewport);
    // Left over from an earlier view: scrolled a little, small steps, a short canvas.
    f.VS.setMax(kMaxBefore);
    f.VS.setValue(7);
    f.VS.setSmallChange(1);
    f.VS.setLargeChange(1);
    f.fraIcons.setHeight(1000);
    f.SelectedIcon = c.cells - 1;
    f.ShowStatus("x");

    panel.ArrangeIcons();

    ExpectPlaced(c.cells, c.perRow, c.firstRow);
    EXPECT_EQ(f.VS.Min(), 0);
    EXPECT_EQ(f.VS.Value(), 0);
    EXPECT_EQ(f.fraIcons.Top(), 0) << "back at the top";
    if (c.scrolls) {
        EXPECT_EQ(f.VS.Max(), c.max);
        EXPECT_EQ(f.VS.SmallChange(), 600);
        EXPECT_EQ(f.VS.LargeChange(), 3000);
        EXPECT_EQ(f.fraIcons.Height(), c.bottom);
        // Scrolled to the end, the last row ends at the viewport's bottom edge.
        f.VS.setValue(f.VS.Max());
        EXPECT_EQ(std::nearbyint(c.bottom + f.fraIcons.Top() - c.viewport), 0);
    } else {
        EXPECT_EQ(f.VS.Max(), 0);
        EXPECT_EQ(f.VS.SmallChange(), 1);
        EXPECT_EQ(f.VS.LargeChange(), 1);
        // Tall enough that the last row is whole.
        EXPECT_GE(f.fraIcons.Height(), c.bottom);
        EXPECT_LE(f.fraIcons.Height(), c.viewport) << "no taller than the viewport that needs no scrolling";
    }
    EXPECT_EQ(Lines(), FrameAroundCell(c.cells - 1));
    EXPECT_EQ(f.lblStatus.Caption(), "");
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_TRUE(f.fraIcons.Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Canvases, Arrangement,
    ::testing::Values(
        Layout{"WorkedExample", 4000, 12, 12, 1500, 5, 0, 2040, true, 540},
        Layout{"ViewportAsTallAsTheGrid", 4000, 12, 12, 2040, 5, 0, 2040, false, 0},
        Layout{"ViewportOneTwipShort", 4000, 12, 12, 2039, 5, 0, 2040, true, 1},
        Layout{"ViewportHalfATwipShort", 4000, 12, 12, 2039.5, 5, 0, 2040, true, 0},
        Layout{"OverflowRoundsHalfToEvenUp", 4000, 12, 12, 1498.5, 5, 0, 2040, true, 542},
        Layout{"SpareCellsAfterTheIcons", 4000, 12, 7, 1500, 5, 0, 2040, true, 540},
        Layout{"OnlyOneIconInUse", 4000, 12, 1, 1500, 5, 0, 2040, true, 540},
        Layout{"OneCellPerRowExactly", 730, 4, 4, 5000, 1, 0, 2720, false, 0},
        Layout{"OneTwipNarrowerThanACell", 729, 4, 4, 5000, 1, 1, 3400, false, 0},
        Layout{"TwoCellsPerRowExactly", 1410, 5, 5, 5000, 2, 0, 2040, false, 0},
        Layout{"OneTwipNarrowerThanTwoCells", 1409, 5, 5, 5000, 1, 0, 3400, false, 0},
        Layout{"FractionalWidthStillShort", 729.9, 2, 2, 5000, 1, 1, 2040, false, 0},
        Layout{"ScrollRangeAtSixteenBits", 729, 50, 50, 1913, 1, 1, 34680, true, 32767},
        Layout{"SingleTemplateCell", 4000, 1, 1, 400, 5, 0, 680, true, 280}),
    [](const auto& info) { return std::string(info.param.name); });

// A grid taller than 32767 twips beyond the viewport: the bar's 16-bit range
// cannot count twips, so it counts steps of several twips and still reaches
// the last row.
TEST_F(Grid, ScrollRangePastSixteenBitsScrollsInCoarserSteps) {
    const struct {
        const char* name;
        float viewport;
        int unit, max, small, large;
    } cases[] = {
        {"one twip past", 1912, 2, 16384, 300, 1500},
        {"far past", 200, 2, 17240, 300, 1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(50, 50, 729, c.viewport);  // one cell a row: G = 34680
        panel.ArrangeIcons();
        const double range = std::nearbyint(34680 - c.viewport);
        EXPECT_EQ(f.VS.Max(), static_cast<int>(std::ceil(range / c.unit)));
        EXPECT_EQ(f.VS.Max(), c.max);
        EXPECT_EQ(f.VS.SmallChange(), c.small);
        EXPECT_EQ(f.VS.LargeChange(), c.large);
        EXPECT_EQ(f.fraIcons.Height(), 34680);
        f.VS.setValue(100);
        EXPECT_EQ(f.fraIcons.Top(), -100 * c.unit);
        // At the end the last row ends exactly at the viewport's bottom edge.
        f.VS.setValue(f.VS.Max());
        EXPECT_EQ(f.fraIcons.Top(), -range);
        f.VS.setValue(0);
        EXPECT_EQ(f.fraIcons.Top(), 0);
    }
}

TEST_F(Grid, NoIconsMovesNothingAndLeavesTheScrollBar) {
    Prepare(4, 0, 4000, 1500);
    for (int k = 0; k < 4; ++k) f.picIcon(k).Move(11 + k, 13 + k);
    f.VS.setMax(900);
    f.VS.setValue(300);
    f.VS.setSmallChange(5);
    f.VS.setLargeChange(9);
    f.fraIcons.setHeight(1234);
    f.fraIcons.setVisible(false);
    f.ShowStatus("定位图标");
    f.ShowProgress(0, 10);
    f.SelectedIcon = -1;
    const std::vector<Segment> lines = Lines();

    panel.ArrangeIcons();

    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(f.picIcon(k).Left(), 11 + k) << k;
        EXPECT_EQ(f.picIcon(k).Top(), 13 + k) << k;
    }
    EXPECT_EQ(f.VS.Max(), 900);
    EXPECT_EQ(f.VS.Value(), 300);
    EXPECT_EQ(f.VS.SmallChange(), 5);
    EXPECT_EQ(f.VS.LargeChange(), 9);
    EXPECT_EQ(f.fraIcons.Top(), -300);
    EXPECT_EQ(f.fraIcons.Height(), 1234);
    EXPECT_EQ(Lines(), lines) << "no selection: the frame stays where it was";
    EXPECT_EQ(f.lblStatus.Caption(), "");
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_TRUE(f.fraIcons.Visible());
}

TEST_F(Grid, ACanvasTallerThanTheGridKeepsItsHeight) {
    Prepare(12, 12, 4000, 6000);
    f.fraIcons.setHeight(5700);
    panel.ArrangeIcons();
    EXPECT_EQ(f.fraIcons.Height(), 5700);
    EXPECT_EQ(f.VS.Max(), 0);
}

TEST_F(Grid, CellsMoveOnlyWhileTheCanvasIsHidden) {
    Prepare(12, 12, 4000, 1500);
    int moves = 0, movesShown = 0;
    for (int k = 0; k < 12; ++k)
        f.picIcon(k).viewChanged = [&](platform::Control&) {
            ++moves;
            if (f.fraIcons.Visible()) ++movesShown;
        };
    std::vector<std::string> status;
    screen.onYield = [&](int) { status.push_back(f.lblStatus.Caption()); };
    panel.ArrangeIcons();
    EXPECT_EQ(moves, 12);
    EXPECT_EQ(movesShown, 0);
    // One yield to start, one after each cell, one at the end.
    ASSERT_EQ(status.size(), 14u);
    for (std::size_t i = 0; i < status.size(); ++i) EXPECT_EQ(status[i], "定位图标") << i;
    EXPECT_EQ(f.lblStatus.Caption(), "");
}

TEST_F(Grid, AResizeReflowsTheGridAndReframesTheSelection) {
    MakeCells(100);
    f.IconCount = 100;
    f.SelectedIcon = 7;
    f.Me.setHeight(6500);
    f.Me.setWidth(8535);  // the narrowest window: a resize, with its arrangement
    ASSERT_GT(f.VS.Max(), 300);
    f.VS.setValue(300);

    f.Me.setWidth(16000);

    // The widest row that fits: 200 + (N-1) * 680 + 480 + 50 <= width.
    const int perRow = static_cast<int>(std::floor((f.fraIcons.Width() - 730) / 680)) + 1;
    ASSERT_GT(perRow, 5);
    ExpectPlaced(100, perRow, 0);
    EXPECT_EQ(f.VS.Value(), 0);
    EXPECT_EQ(f.fraIcons.Top(), 0);
    EXPECT_EQ(Lines(), FrameAroundCell(7));
}

// ---- the scroll bar's handlers ----

struct ScrollCase {
    const char* name;
    void (*move)(platform::ScrollBar&, int);
};
void PrintTo(const ScrollCase& c, std::ostream* os) { *os << c.name; }

class Scrolling : public Grid, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(Scrolling, MovesTheCanvasUpByTheValue) {
    Prepare(12, 12, 4000, 1000);
    panel.ArrangeIcons();
    ASSERT_EQ(f.VS.Max(), 1040);
    GetParam().move(f.VS, 600);
    EXPECT_EQ(f.fraIcons.Top(), -600);
    GetParam().move(f.VS, 1040);
    EXPECT_EQ(f.fraIcons.Top(), -1040);
    GetParam().move(f.VS, 0);
    EXPECT_EQ(f.fraIcons.Top(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Scrolling,
    ::testing::Values(ScrollCase{"AssignedValue", [](platform::ScrollBar& vs, int v) { vs.setValue(v); }},
                      ScrollCase{"DraggedThumb", [](platform::ScrollBar& vs, int v) { vs.UserScroll(v); }},
                      ScrollCase{"ReleasedThumb", [](platform::ScrollBar& vs, int v) { vs.UserChange(v); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Grid, TheScrollBarHandsTheFocusToTheViewport) {
    std::vector<std::string> asked;
    const auto record = [&](platform::Control& c) { asked.push_back(c.Name()); };
    f.picIconHolder.viewFocus = record;
    f.VS.viewFocus = record;
    f.fraIcons.viewFocus = record;
    f.VS.GotFocus.raise();
    EXPECT_EQ(asked, std::vector<std::string>{"picIconHolder"});
}

}  // namespace
}  // namespace icon_panel_test
