// Handlers that run inside another's yield: a click on another file during a
// load or its arrangement, a clear during a load, a resize during an
// arrangement. The newer command owns the panel; the older one must stop.
#include <cmath>

#include "panel_fixture.h"

namespace icon_panel_test {
namespace {

class Reentry : public ColouredIcons {
protected:
    // Runs `action` once, inside yield number `n` (counted from the next yield).
    void AtYield(int n, std::function<void()> action) {
        const int target = screen.yields + n;
        screen.onYield = [this, target, action = std::move(action)](int y) {
            if (y != target) return;
            fired = true;
            action();
        };
    }
    bool fired = false;

    // Every cell from `from` on that changes after this call is counted.
    void WatchCells(int& changes) {
        f.picIcon.ForEach([&](platform::PictureBox& c) { c.viewChanged = [&](platform::Control&) { ++changes; }; });
    }
};

// A click on file A yields once as its load starts, once after each icon,
// once as the load ends; then once as the arrangement starts, once after
// each cell and once as it ends. `yield` counts those yields from 1.
struct ClickCase {
    const char* name;
    int first, second;  // icons of the file clicked first and of the one clicked inside
    int yield;
};
void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

class ClickDuringAClick : public Reentry, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickDuringAClick, ThePanelShowsOnlyTheSecondFile) {
    const ClickCase& c = GetParam();
    platform::ListItem& a = AddRow("a.exe", std::to_string(c.first));
    platform::ListItem& b = AddRow("b.exe", std::to_string(c.second));
    int changesAfter = 0;
    bool secondDone = false;
    AtYield(c.yield, [&] {
        w.browsing.File1_ItemClick(b);
        secondDone = true;
        WatchCells(changesAfter);
    });

    w.browsing.File1_ItemClick(a);

    ASSERT_TRUE(fired && secondDone);
    EXPECT_EQ(f.IconCount, c.second);
    EXPECT_EQ(f.picIcon.Count(), c.second);
    for (int k = 0; k < c.second; ++k) {
        SCOPED_TRACE("cell " + std::to_string(k));
        EXPECT_EQ(f.picIcon(k).Image(), Showing("b.exe", k));
        EXPECT_EQ(f.picIcon(k).Left(), 200 + 680 * (k % 5));  // the canvas holds five a row
        EXPECT_EQ(f.picIcon(k).Top(), 200 + 680 * (k / 5));
    }
    EXPECT_EQ(changesAfter, 0) << "the first click went on changing cells after the second ended";
    // Nothing of the first file is read once the second click has begun.
    const std::vector<std::string> asked = FilesAsked();
    const auto firstB = std::find(asked.begin(), asked.end(), "b.exe");
    EXPECT_EQ(std::find(firstB, asked.end(), "a.exe"), asked.end());
    ExpectPanelAtRest();
    EXPECT_FALSE(f.CellsExhausted);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ClickDuringAClick,
    ::testing::Values(ClickCase{"LargerFirstAsItsLoadStarts", 5, 3, 1},
                      ClickCase{"LargerFirstAfterItsFirstIcon", 5, 3, 2},
                      ClickCase{"LargerFirstInTheMiddleOfItsLoad", 5, 3, 4},
                      ClickCase{"LargerFirstAfterItsLastIcon", 5, 3, 6},
                      ClickCase{"LargerFirstAsItsLoadEnds", 5, 3, 7},
                      ClickCase{"LargerFirstAsItsArrangementStarts", 5, 3, 8},
                      ClickCase{"LargerFirstInTheMiddleOfItsArrangement", 5, 3, 11},
                      ClickCase{"LargerFirstAsItsArrangementEnds", 5, 3, 14},
                      ClickCase{"SmallerFirstAfterItsFirstIcon", 2, 7, 2},
                      ClickCase{"SmallerFirstAsItsLoadEnds", 2, 7, 4},
                      ClickCase{"SmallerFirstInTheMiddleOfItsArrangement", 2, 7, 6},
                      ClickCase{"EqualSizesInTheMiddleOfTheLoad", 4, 4, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Reentry, AClearDuringALoadLeavesThePanelEmpty) {
    // A folder change empties the panel while a file is being loaded.
    platform::ListItem& a = AddRow("a.exe", "5");
    AtYield(3, [&] { panel.ClearIcons(); });
    w.browsing.File1_ItemClick(a);
    ASSERT_TRUE(fired);
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.SelectedIcon, -1);
    EXPECT_TRUE(FrameHidden());
    for (int k = 0; k < f.picIcon.Count(); ++k) EXPECT_EQ(f.picIcon(k).Image(), Blank()) << k;
    EXPECT_EQ(sys.extractions.size(), 2u) << "no icon is read after the clear";
}

TEST_F(Reentry, AClickDuringShowAllLeavesOnlyTheClickedFile) {
    AddRow("a.exe", "3");
    AddRow("b.exe", "2");
    platform::ListItem& c = AddRow("c.exe", "4");
    f.File1.setColumnText(2, "9");
    AtYield(2, [&] { w.browsing.File1_ItemClick(c); });  // after a.exe's first icon
    w.browsing.mnuDirectories_Click(0);
    ASSERT_TRUE(fired);
    EXPECT_EQ(f.IconCount, 4);
    EXPECT_EQ(f.picIcon.Count(), 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(f.picIcon(k).Image(), Showing("c.exe", k)) << k;
    const std::vector<std::string> asked = FilesAsked();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "b.exe"), 0) << "the show-all run went on to the next file";
    EXPECT_TRUE(f.fraIcons.Visible());
}

// An arrangement of 12 cells yields once as it starts, once after each cell
// and once as it ends.
struct ArrangeCase {
    const char* name;
    int yield;
};
void PrintTo(const ArrangeCase& c, std::ostream* os) { *os << c.name; }

class ArrangementDuringAnArrangement : public Reentry, public ::testing::WithParamInterface<ArrangeCase> {};

TEST_P(ArrangementDuringAnArrangement, TheGridEndsLaidOutForTheNewWidth) {
    MakeCells(12);
    f.IconCount = 12;
    f.SelectedIcon = 3;
    f.fraIcons.setWidth(4000);
    f.picIconHolder.setHeight(1500);
    int changesAfter = 0;
    AtYield(GetParam().yield, [&] {
        f.fraIcons.setWidth(1500);
        panel.ArrangeIcons();
        WatchCells(changesAfter);
    });

    panel.ArrangeIcons();

    ASSERT_TRUE(fired);
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.picIcon(k).Left(), 200 + 680 * (k % 2));
        EXPECT_EQ(f.picIcon(k).Top(), 200 + 680 * (k / 2));
    }
    EXPECT_EQ(changesAfter, 0) << "the older arrangement went on moving cells";
    EXPECT_EQ(f.VS.Max(), 2580);
    EXPECT_EQ(f.fraIcons.Height(), 4080);
    EXPECT_EQ(Lines(), FrameAroundCell(3));
    EXPECT_TRUE(f.fraIcons.Visible());
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_EQ(f.lblStatus.Caption(), "");
}

INSTANTIATE_TEST_SUITE_P(Moments, ArrangementDuringAnArrangement,
                         ::testing::Values(ArrangeCase{"AsItStarts", 1}, ArrangeCase{"AfterTheFirstCell", 2},
                                           ArrangeCase{"InTheMiddle", 7}, ArrangeCase{"AfterTheLastCell", 13},
                                           ArrangeCase{"AsItEnds", 14}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Reentry, AResizeDuringAResizeEndsWithTheNewColumnCount) {
    MakeCells(40);
    f.IconCount = 40;
    f.SelectedIcon = 0;
    f.Me.setHeight(6500);
    f.Me.setWidth(12000);
    int changesAfter = 0;
    AtYield(10, [&] {
        f.Me.setWidth(16000);  // the window is widened while the narrower layout runs
        WatchCells(changesAfter);
    });

    f.Me.setWidth(8535);

    ASSERT_TRUE(fired);
    // The widest row that fits: 200 + (N-1) * 680 + 480 + 50 <= width.
    const int perRow = static_cast<int>(std::floor((f.fraIcons.Width() - 730) / 680)) + 1;
    ASSERT_GT(perRow, 10);
    for (int k = 0; k < 40; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.picIcon(k).Left(), 200 + 680 * (k % perRow));
        EXPECT_EQ(f.picIcon(k).Top(), 200 + 680 * (k / perRow));
    }
    EXPECT_EQ(changesAfter, 0);
    EXPECT_TRUE(f.fraIcons.Visible());
}

}  // namespace
}  // namespace icon_panel_test
