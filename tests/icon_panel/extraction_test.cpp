// Extraction of a file's icons into the cells: growing and trimming the cell
// array, icons that fail, counts that are no number, running out of cells,
// and what the cells end up showing.
#include <cmath>

#include "icon_file_builders.h"
#include "panel_fixture.h"
#include "icons/icons.h"

namespace icon_panel_test {
namespace {

class Extraction : public ColouredIcons {
protected:
    // As a click on the row does it, before the arrangement.
    void ClickLoad(const platform::ListItem& row) {
        panel.ClearIcons();
        panel.LoadIconsOfFile(static_cast<std::int16_t>(row.Index()), true);
    }

    std::vector<int> Requested(const std::string& file) {
        std::vector<int> out;
        for (const auto& [path, index] : sys.extractions) {
            EXPECT_EQ(path, f.Dir1.Path() + "/" + NameOf(path));
            if (NameOf(path) == file) out.push_back(index);
        }
        return out;
    }
};

struct LoadCase {
    const char* name;
    std::string count;      // the row's second column
    std::set<int> failing;  // icons the reader cannot give
    int cells;              // picIcon.Count after the load
    std::vector<int> shown;  // the icon each cell holds, -1 for a blank cell
    int iconCount;
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadOnACleanPanel : public Extraction, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadOnACleanPanel, FillsCellsWithoutGaps) {
    const LoadCase& c = GetParam();
    failing["x.dll"] = c.failing;
    const platform::ListItem& row = AddRow("x.dll", c.count);
    ClickLoad(row);

    EXPECT_EQ(f.picIcon.Count(), c.cells);
    ASSERT_EQ(static_cast<int>(c.shown.size()), c.cells);
    for (int k = 0; k < c.cells; ++k) {
        SCOPED_TRACE("cell " + std::to_string(k));
        const platform::PictureBox& cell = f.picIcon(k);
        // A cell remembers the icon it shows; a blank one came from nowhere.
        EXPECT_EQ(panel.OriginOf(k), c.shown[k] < 0 ? std::nullopt
                                                    : std::optional(icon_panel::CellOrigin{f.Dir1.Path() + "/x.dll", c.shown[k]}));
        if (c.shown[k] < 0) {
            EXPECT_EQ(cell.Image(), Blank());
            // New cells are made hidden and a blank one is not shown; the template always is.
            EXPECT_EQ(cell.Visible(), k == 0);
        } else {
            EXPECT_EQ(cell.Image(), Showing("x.dll", c.shown[k]));
            EXPECT_TRUE(cell.Visible());
        }
    }
    EXPECT_EQ(f.IconCount, c.iconCount);
    ExpectPanelAtRest();
    // Every icon the row counts is asked for once, in order, failing or not.
    std::vector<int> all;
    for (int i = 0; i < c.cells; ++i) all.push_back(i);
    EXPECT_EQ(Requested("x.dll"), all);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadOnACleanPanel,
    ::testing::Values(LoadCase{"FiveIcons", "5", {}, 5, {0, 1, 2, 3, 4}, 5},
                      LoadCase{"SecondOfThreeFails", "3", {1}, 3, {0, 2, -1}, 2},
                      LoadCase{"FirstOfThreeFails", "3", {0}, 3, {1, 2, -1}, 2},
                      LoadCase{"FirstAndLastOfFourFail", "4", {0, 3}, 4, {1, 2, -1, -1}, 2},
                      LoadCase{"NoneCanBeExtracted", "3", {0, 1, 2}, 3, {-1, -1, -1}, 0},
                      LoadCase{"OneIcon", "1", {}, 1, {0}, 1},
                      // The count converts to the nearest whole number, halves to even.
                      LoadCase{"CountTwoAndAHalf", "2.5", {}, 2, {0, 1}, 2},
                      LoadCase{"CountThreeAndAHalf", "3.5", {}, 4, {0, 1, 2, 3}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct NothingCase {
    const char* name;
    std::string count;
    int position;  // 0: the row itself
};
void PrintTo(const NothingCase& c, std::ostream* os) { *os << c.name; }

class LoadThatDoesNothing : public Extraction, public ::testing::WithParamInterface<NothingCase> {};

TEST_P(LoadThatDoesNothing, LeavesThePanelAndTheCanvasHidden) {
    const NothingCase& c = GetParam();
    MakeCells(3);
    const platform::ListItem& row = AddRow("x.dll", c.count);
    panel.ClearIcons();
    f.ShowStatus("before");
    f.progbar.setVisible(false);
    std::vector<bool> barShown;
    f.progbar.viewChanged = [&](platform::Control& bar) { barShown.push_back(bar.Visible()); };
    const int yieldsBefore = screen.yields;

    panel.LoadIconsOfFile(static_cast<std::int16_t>(c.position ? c.position : row.Index()), true);

    EXPECT_EQ(f.picIcon.Count(), 3) << "no cell is made or destroyed";
    EXPECT_TRUE(sys.extractions.empty());
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.SelectedIcon, -1);
    EXPECT_TRUE(FrameHidden());
    EXPECT_FALSE(f.fraIcons.Visible()) << "left hidden for the caller's arrangement";
    EXPECT_EQ(f.lblStatus.Caption(), "before");
    EXPECT_TRUE(barShown.empty());
    EXPECT_EQ(screen.yields, yieldsBefore);
}

INSTANTIATE_TEST_SUITE_P(Rows, LoadThatDoesNothing,
                         ::testing::Values(NothingCase{"ZeroIcons", "0", 0}, NothingCase{"NotANumber", "abc", 0},
                                           NothingCase{"NumberThenText", "3x", 0}, NothingCase{"EmptyCount", "", 0},
                                           NothingCase{"NegativeCount", "-2", 0},
                                           NothingCase{"BelowAHalf", "0.4", 0},
                                           NothingCase{"NoSuchRow", "3", 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Extraction, ASecondFileAfterClearingTrimsTheArray) {
    const platform::ListItem& five = AddRow("a.exe", "5");
    const platform::ListItem& two = AddRow("b.exe", "2");
    ClickLoad(five);
    ASSERT_EQ(f.picIcon.Count(), 5);
    ClickLoad(two);
    EXPECT_EQ(f.picIcon.Count(), 2);
    EXPECT_FALSE(f.picIcon.Exists(2));
    EXPECT_EQ(f.picIcon(0).Image(), Showing("b.exe", 0));
    EXPECT_EQ(f.picIcon(1).Image(), Showing("b.exe", 1));
    EXPECT_EQ(f.IconCount, 2);
}

TEST_F(Extraction, AfterClearingALargerFileReusesTheCellsAndGrows) {
    const platform::ListItem& two = AddRow("a.exe", "2");
    const platform::ListItem& four = AddRow("b.exe", "4");
    ClickLoad(two);
    platform::PictureBox* first = &f.picIcon(1);
    ClickLoad(four);
    EXPECT_EQ(&f.picIcon(1), first) << "a cleared cell is reused, not made again";
    EXPECT_EQ(f.picIcon.Count(), 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(f.picIcon(k).Image(), Showing("b.exe", k)) << k;
}

TEST_F(Extraction, FilesLoadedWithoutClearingFollowEachOther) {
    // As the command that shows every icon of the folder does it.
    const platform::ListItem& three = AddRow("a.ico", "3");
    const platform::ListItem& four = AddRow("b.dll", "4");
    panel.ClearIcons();
    f.fraIcons.setVisible(false);
    f.IconCount = 0;
    panel.LoadIconsOfFile(static_cast<std::int16_t>(three.Index()), false);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(four.Index()), false);

    EXPECT_EQ(f.IconCount, 7);
    EXPECT_EQ(f.picIcon.Count(), 7);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(f.picIcon(k).Image(), Showing("a.ico", k)) << k;
    for (int k = 3; k < 7; ++k) EXPECT_EQ(f.picIcon(k).Image(), Showing("b.dll", k - 3)) << k;
    EXPECT_FALSE(f.fraIcons.Visible()) << "without HideCanvas the canvas is the caller's";
    EXPECT_EQ(f.SelectedIcon, 0);
    EXPECT_EQ(Lines(), FrameAroundCell(0));
}

TEST_F(Extraction, ASpareCellIsFilledByTheNextFile) {
    failing["a.ico"] = {1};
    const platform::ListItem& a = AddRow("a.ico", "3");
    const platform::ListItem& b = AddRow("b.dll", "2");
    panel.ClearIcons();
    panel.LoadIconsOfFile(static_cast<std::int16_t>(a.Index()), false);
    ASSERT_EQ(f.IconCount, 2);
    ASSERT_EQ(f.picIcon.Count(), 3);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(b.Index()), false);
    EXPECT_EQ(f.IconCount, 4);
    EXPECT_EQ(f.picIcon.Count(), 4);
    EXPECT_EQ(f.picIcon(1).Image(), Showing("a.ico", 2));
    EXPECT_EQ(f.picIcon(2).Image(), Showing("b.dll", 0));
    EXPECT_EQ(f.picIcon(3).Image(), Showing("b.dll", 1));
}

TEST_F(Extraction, NoExtractableIconKeepsTheCountAndFramesCellZero) {
    // A second file none of whose icons come out, after a first that filled cells.
    failing["b.dll"] = {0, 1};
    const platform::ListItem& a = AddRow("a.ico", "3");
    const platform::ListItem& b = AddRow("b.dll", "2");
    panel.ClearIcons();
    panel.LoadIconsOfFile(static_cast<std::int16_t>(a.Index()), false);
    panel.picIcon_Click(2);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(b.Index()), false);
    EXPECT_EQ(f.IconCount, 3);
    EXPECT_EQ(f.picIcon.Count(), 5);
    EXPECT_EQ(f.SelectedIcon, 0);
    EXPECT_EQ(Lines(), FrameAroundCell(0));
    EXPECT_TRUE(FrameShown());
}

// A file that changed on disk under its row, then shown with the folder's other icons:
// no cell past the last one drawn keeps the picture or origin of the view before.
struct StaleCase {
    const char* name;
    bool listEmptied;       // else x.dll is still listed, and counted "4"
    std::set<int> failing;  // icons of x.dll that no longer come out
    int drawn;              // cells that hold an icon of the new view
};

class ShowAllAfterAView : public Extraction, public ::testing::WithParamInterface<StaleCase> {};

TEST_P(ShowAllAfterAView, LeavesNoCellOfTheOldView) {
    const StaleCase& c = GetParam();
    AddRow("x.dll", "4");
    panel.ShowIconsOfFile(1);
    for (std::int16_t k = 0; k < 4; ++k) f.picIcon(k).MouseMove.raise(0, 0, 1.0f, 1.0f);
    ASSERT_FALSE(f.picIcon(3).ToolTipText().empty());
    failing["x.dll"] = c.failing;
    if (c.listEmptied) f.File1.Clear();
    panel.ShowAllIcons();

    EXPECT_EQ(f.IconCount, c.drawn);
    for (std::int16_t k = static_cast<std::int16_t>(c.drawn); k < f.picIcon.Count(); ++k) {
        SCOPED_TRACE("cell " + std::to_string(k));
        f.picIcon(k).MouseMove.raise(0, 0, 1.0f, 1.0f);
        EXPECT_EQ(f.picIcon(k).Image(), Blank());
        EXPECT_EQ(panel.OriginOf(k), std::nullopt);
        EXPECT_EQ(f.picIcon(k).ToolTipText(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, ShowAllAfterAView,
                         ::testing::Values(StaleCase{"SecondAndFourthGone", false, {1, 3}, 2},
                                           StaleCase{"NoneComesOut", false, {0, 1, 2, 3}, 0},
                                           StaleCase{"ListEmptied", true, {}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- running out of cells ----

TEST_F(Extraction, RunningOutOfCellsCountsTheMadeCellsAndStopsLoading) {
    f.picIcon.setLimit(4);
    const platform::ListItem& six = AddRow("a.exe", "6");
    const platform::ListItem& other = AddRow("b.exe", "2");
    panel.ClearIcons();
    f.ShowStatus("before");
    ClickLoad(six);

    EXPECT_EQ(f.picIcon.Count(), 4);
    EXPECT_EQ(f.IconCount, 4);
    EXPECT_TRUE(f.CellsExhausted);
    EXPECT_TRUE(f.fraIcons.Visible()) << "a canvas this load hid is shown again";
    EXPECT_TRUE(sys.extractions.empty()) << "no icon of the file is drawn";
    EXPECT_EQ(f.lblStatus.Caption(), "before");
    EXPECT_EQ(f.SelectedIcon, -1);
    EXPECT_TRUE(FrameHidden());
    for (int k = 1; k < 4; ++k) EXPECT_FALSE(f.picIcon(k).Visible()) << k;

    // While the flag stands every load returns before touching anything.
    f.fraIcons.setVisible(false);
    const int yieldsBefore = screen.yields;
    panel.LoadIconsOfFile(static_cast<std::int16_t>(other.Index()), true);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(six.Index()), false);
    EXPECT_TRUE(sys.extractions.empty());
    EXPECT_EQ(f.picIcon.Count(), 4);
    EXPECT_EQ(f.IconCount, 4);
    EXPECT_FALSE(f.fraIcons.Visible());
    EXPECT_EQ(screen.yields, yieldsBefore);

    // The caller clears the flag; loading goes on from the cells counted as used.
    f.CellsExhausted = false;
    f.picIcon.setLimit(32768);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(other.Index()), false);
    EXPECT_EQ(f.IconCount, 6);
    EXPECT_EQ(f.picIcon(4).Image(), Showing("b.exe", 0));
}

TEST_F(Extraction, RunningOutInTheMiddleOfShowingAllKeepsWhatWasLoaded) {
    f.picIcon.setLimit(5);
    const platform::ListItem& a = AddRow("a.ico", "3");
    const platform::ListItem& b = AddRow("b.dll", "4");
    panel.ClearIcons();
    f.fraIcons.setVisible(false);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(a.Index()), false);
    panel.LoadIconsOfFile(static_cast<std::int16_t>(b.Index()), false);
    EXPECT_TRUE(f.CellsExhausted);
    EXPECT_EQ(f.IconCount, 5);
    EXPECT_EQ(f.picIcon.Count(), 5);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(f.picIcon(k).Image(), Showing("a.ico", k)) << k;
    EXPECT_EQ(f.picIcon(3).Image(), Blank());
    EXPECT_FALSE(f.fraIcons.Visible()) << "without HideCanvas the canvas is the caller's";
}

TEST_F(Extraction, TheLastPossibleCellIsIndex32767) {
    // A 32769th cell would need an index past 16 bits.
    const platform::ListItem& many = AddRow("a.exe", "32769");
    sys.extract = [](const std::string&, int) { return std::optional<icons::Icon>(); };
    ClickLoad(many);
    EXPECT_EQ(f.picIcon.Count(), 32768);
    EXPECT_TRUE(f.CellsExhausted);
    EXPECT_EQ(f.IconCount, 32768);
    EXPECT_TRUE(sys.extractions.empty());
}

// ---- the status bar while loading ----

struct BarCase {
    const char* name;
    std::string count;
    bool barShows;
};
void PrintTo(const BarCase& c, std::ostream* os) { *os << c.name; }

class ProgressWhileLoading : public Extraction, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ProgressWhileLoading, ShowsTheBarOnlyForMoreThanOneIcon) {
    const BarCase& c = GetParam();
    platform::ListItem& row = AddRow("a.exe", c.count);
    ASSERT_FALSE(f.progbar.Visible());
    bool shown = false;
    f.progbar.viewChanged = [&](platform::Control& bar) { shown = shown || bar.Visible(); };
    screen.onYield = [&](int) { shown = shown || f.progbar.Visible(); };
    w.browsing.File1_ItemClick(row);  // load and arrangement, as a click does it
    EXPECT_EQ(shown, c.barShows);
    EXPECT_FALSE(f.progbar.Visible());
    EXPECT_EQ(f.IconCount, std::stoi(c.count));
}

INSTANTIATE_TEST_SUITE_P(Files, ProgressWhileLoading,
                         ::testing::Values(BarCase{"OneIcon", "1", false}, BarCase{"TwoIcons", "2", true},
                                           BarCase{"FiveIcons", "5", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Extraction, ReportsTheFileAndEachIconWhileTheCanvasIsHidden) {
    const platform::ListItem& row = AddRow("shell32.dll", "4");
    struct Seen {
        std::string status;
        bool canvas, bar;
        float value, max;
    };
    std::vector<Seen> seen;
    screen.onYield = [&](int) {
        seen.push_back({f.lblStatus.Caption(), f.fraIcons.Visible(), f.progbar.Visible(), f.progbar.Value(), f.progbar.Max()});
    };
    ClickLoad(row);
    // One yield to start, one after each icon, one at the end.
    ASSERT_EQ(seen.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].status, "读取窗体 shell32.dll");
        EXPECT_FALSE(seen[i].canvas);
        EXPECT_TRUE(seen[i].bar);
        EXPECT_EQ(seen[i].max, 3);
        EXPECT_EQ(seen[i].value, i == 0 ? 0 : i - 1);
    }
    EXPECT_EQ(seen[5].status, "");
    EXPECT_FALSE(seen[5].bar);
    EXPECT_FALSE(seen[5].canvas);
    EXPECT_TRUE(f.fraIcons.Visible());
}

// ---- real files through the reader ----

class FromFiles : public PanelTest {
protected:
    FromFiles() {
        // These tests write the rows themselves; the folder's own scan stays out.
        f.Dir1.Change.connect({});
        f.Dir1.setPath(folder.path());
    }
    test_support::TempFolder folder;
};

icon_files::Bytes MaskedIco(pixels::Argb colour) {
    // Left half painted, right half transparent: the cell's colour must show there.
    icon_files::DibSpec dib = icon_files::SolidDib(32, 32, 24, colour);
    dib.pixels.assign(32 * 32, 0);
    dib.mask.assign(32 * 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x < 16) dib.pixels[y * 32 + x] = colour & 0xFFFFFFu;
            else dib.mask[y * 32 + x] = 1;
        }
    return icon_files::MakeIco({icon_files::IcoEntry{32, 32, 0, 1, 24, icon_files::MakeDib(dib)}});
}

icon_files::Bytes PeWithIcons(const std::vector<pixels::Argb>& colours) {
    std::vector<icon_files::IconGroupSpec> groups;
    std::uint16_t id = 1;
    for (pixels::Argb c : colours) {
        icon_files::GroupImage image;
        image.id = id;
        image.image = icon_files::MakeDib(icon_files::SolidDib(32, 32, 32, c));
        groups.push_back({icon_files::ResName{id, {}}, {image}});
        ++id;
    }
    icon_files::PeSpec spec;
    spec.resources = icon_files::IconResources(groups);
    return icon_files::MakePe(spec).bytes;
}

TEST_F(FromFiles, CellsShowTheReadersIconsOnTheWindowColour) {
    const std::vector<pixels::Argb> colours = {pixels::MakeArgb(255, 0, 0), pixels::MakeArgb(0, 128, 0),
                                                 pixels::MakeArgb(0, 0, 255, 128)};
    folder.write("tools.exe", PeWithIcons(colours));
    folder.write("mask.ico", MaskedIco(pixels::MakeArgb(10, 20, 30)));
    platform::ListItem& exe = AddRow("tools.exe", "3");
    platform::ListItem& ico = AddRow("mask.ico", "1");

    // Each icon's colour over the window colour, rounded to the nearest:
    // the opaque ones cover it, the half-clear blue lets 127/255 of it through.
    const auto over = [](pixels::Argb icon, pixels::Argb window) {
        const double a = pixels::AlphaOf(icon) / 255.0;
        const auto mix = [a](int s, int d) { return static_cast<int>(std::lround(s * a + d * (1 - a))); };
        return pixels::MakeArgb(mix(pixels::RedOf(icon), pixels::RedOf(window)),
                                  mix(pixels::GreenOf(icon), pixels::GreenOf(window)),
                                  mix(pixels::BlueOf(icon), pixels::BlueOf(window)));
    };
    w.browsing.File1_ItemClick(exe);
    ASSERT_EQ(f.IconCount, 3);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.picIcon(k).Image(), pixels::Bitmap(32, 32, over(colours[k], kWindowColour)));
    }

    w.browsing.File1_ItemClick(ico);
    ASSERT_EQ(f.IconCount, 1);
    const pixels::Bitmap cell = f.picIcon(0).Image();
    EXPECT_EQ(cell.at(3, 5) & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(cell.at(20, 5), kWindowColour) << "the transparent half shows the window colour";
    EXPECT_EQ(sys.extractions.back().first, folder.path() + "/mask.ico");
}

TEST_F(FromFiles, AFileThatIsNotThereLoadsNoIcon) {
    platform::ListItem& gone = AddRow("gone.exe", "2");
    w.browsing.File1_ItemClick(gone);
    EXPECT_EQ(f.IconCount, 0);
    EXPECT_EQ(f.picIcon.Count(), 2);
    EXPECT_EQ(f.SelectedIcon, 0);
    EXPECT_TRUE(FrameShown());
    EXPECT_TRUE(f.fraIcons.Visible());
}

}  // namespace
}  // namespace icon_panel_test
