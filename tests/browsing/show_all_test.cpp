// Show all icons of a folder: the order of the displayed rows, the guard above
// 1000 icons, and a newer command cutting a running show-all short.
#include <filesystem>

#include "browsing/browsing.h"
#include "browsing_fixture.h"

namespace browsing_tests {
namespace {

Argb Rgb(Argb c) { return c & 0xFFFFFFu; }

class ShowAllTest : public BrowsingTest {
protected:
    void SetUp() override {
        BrowsingTest::SetUp();
        dir = &Folder({{"a.exe", PeWithIcons(1, 2)}, {"b.exe", PeWithIcons(2, 5)}, {"c.exe", PeWithIcons(3, 1)}});
        Open(dir->path());
        ASSERT_EQ(f().File1.ColumnText(2), "8");
    }
    void ShowAll() { f().mnuDirectories(0).Click.raise(); }
    // The icons of files 1 (a), 2 (b) and 3 (c), each file's in its own order.
    static std::vector<Argb> IconsOf(std::initializer_list<int> files) {
        const int icons[] = {0, 2, 5, 1};
        std::vector<Argb> out;
        for (int file : files)
            for (int i = 0; i < icons[file]; ++i) out.push_back(Rgb(IconColour(file, i)));
        return out;
    }
    void ExpectPanel(const std::vector<Argb>& colours) {
        const int n = static_cast<int>(colours.size());
        EXPECT_EQ(f().IconCount, n);
        EXPECT_EQ(CellColours(n), colours);
        EXPECT_TRUE(f().fraIcons.Visible());
        EXPECT_EQ(f().lblStatus.Caption(), "");
        EXPECT_FALSE(f().progbar.Visible());
        EXPECT_FALSE(f().CellsExhausted);
    }
    const test_support::TempFolder* dir = nullptr;
};

TEST_F(ShowAllTest, LoadsEveryRowInDisplayedOrder) {
    struct Case {
        const char* name;
        std::vector<int> headerClicks;
        std::vector<Argb> cells;
    };
    const Case cases[] = {
        {"by name", {}, IconsOf({1, 2, 3})},
        {"by name descending", {1}, IconsOf({3, 2, 1})},
        {"by count (1, 2, 5)", {1, 2}, IconsOf({3, 1, 2})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int h : c.headerClicks) f().File1.UserClickColumn(h);
        ShowAll();
        ExpectPanel(c.cells);
        EXPECT_EQ(f().picIcon.Count(), 8);
        EXPECT_EQ(f().SelectedIcon, 0);
        EXPECT_TRUE(f().lnFrame(0).Visible());
        EXPECT_TRUE(screen.boxes.empty());
    }
}

TEST_F(ShowAllTest, TwiceInARowShowsTheIconsOnce) {
    ShowAll();
    ShowAll();
    ExpectPanel(IconsOf({1, 2, 3}));
    EXPECT_EQ(f().picIcon.Count(), 8);
}

TEST_F(ShowAllTest, AfterARowClickStartsFromTheFirstCell) {
    f().File1.UserClickItem(2);
    ShowAll();
    ExpectPanel(IconsOf({1, 2, 3}));
}

TEST_F(ShowAllTest, EmptyListLoadsNothingAndShowsTheCanvas) {
    Open(Folder({{"x.exe", Text("x")}}).path());
    ASSERT_EQ(f().File1.Count(), 0);
    sys.extractions.clear();
    f().fraIcons.setVisible(false);
    ShowAll();
    EXPECT_TRUE(sys.extractions.empty());
    EXPECT_TRUE(screen.boxes.empty());
    ExpectPanel({});
}

TEST_F(ShowAllTest, AsksAbove1000Icons) {
    struct Case {
        const char* name;
        std::vector<int> counts;  // of big1.exe, big2.exe, ...
        bool asks;
    };
    const Case cases[] = {
        {"999", {999}, false},
        {"1000", {1000}, false},
        {"1001", {1001}, true},
        {"600 and 401", {600, 401}, true},
        {"500 and 500", {500, 500}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FixtureFile> files;
        for (std::size_t i = 0; i < c.counts.size(); ++i) files.push_back({"big" + std::to_string(i + 1) + ".exe", Text("")});
        const auto& big = Folder(files);
        RecordCounts([&](const std::string& path) -> std::optional<int> {
            for (std::size_t i = 0; i < c.counts.size(); ++i)
                if (path == big.file("big" + std::to_string(i + 1) + ".exe")) return c.counts[i];
            return std::nullopt;
        });
        sys.extract = [](const std::string&, int i) { return test_support::SolidIcon(IconColour(1, i % 20)); };
        Open(big.path());
        screen.boxes.clear();
        screen.msgBoxAnswer = platform::msgbox::kYes;

        ShowAll();
        int total = 0;
        for (int n : c.counts) total += n;
        if (c.asks) {
            ASSERT_EQ(screen.boxes.size(), 1u);
            EXPECT_EQ(screen.boxes[0].prompt, "你选择的目录确定要全部读取图标？");
            EXPECT_EQ(screen.boxes[0].style, 20);
        } else {
            EXPECT_TRUE(screen.boxes.empty());
        }
        EXPECT_EQ(f().IconCount, total);
        sys.extract = nullptr;
        sys.count = nullptr;
    }
}

TEST_F(ShowAllTest, NoChangesNothing) {
    const auto& big = Folder({{"big.exe", Text("")}, {"a.exe", PeWithIcons(1, 2)}});
    RecordCounts([&](const std::string& path) -> std::optional<int> {
        if (path == big.file("big.exe")) return 1001;
        return std::nullopt;
    });
    Open(big.path());
    f().File1.UserClickItem(1);  // a.exe
    ASSERT_EQ(f().IconCount, 2);
    screen.msgBoxAnswer = platform::msgbox::kNo;

    for (bool canvasVisible : {true, false}) {
        SCOPED_TRACE(canvasVisible ? "canvas visible" : "canvas hidden");
        f().fraIcons.setVisible(canvasVisible);
        screen.boxes.clear();
        sys.extractions.clear();
        const int cells = f().picIcon.Count();
        const std::vector<Argb> colours = CellColours(cells);

        ShowAll();
        EXPECT_EQ(screen.boxes.size(), 1u);
        EXPECT_TRUE(sys.extractions.empty());
        EXPECT_EQ(f().IconCount, 2);
        EXPECT_EQ(f().picIcon.Count(), cells);
        EXPECT_EQ(CellColours(cells), colours);
        EXPECT_EQ(f().fraIcons.Visible(), canvasVisible);
    }
}

// When the cells cannot grow for a file, the run stops at that file and the
// flag is cleared, so that the next command loads again.
TEST_F(ShowAllTest, RunningOutOfCellsStopsAtThatFile) {
    f().picIcon.setLimit(4);
    ShowAll();
    // a's two icons, then the two cells made for b before the array ran out.
    EXPECT_EQ(f().IconCount, 4);
    EXPECT_EQ(CellColours(2), IconsOf({1}));
    EXPECT_TRUE(f().picIcon(2).IsBlank());
    EXPECT_TRUE(f().picIcon(3).IsBlank());
    EXPECT_EQ(sys.extractions.size(), 2u);
    EXPECT_FALSE(f().CellsExhausted);
    EXPECT_TRUE(f().fraIcons.Visible());

    f().File1.UserClickItem(3);
    ExpectPanel(IconsOf({3}));
}

// The flag of a run that ran out of cells must not outlive the run, even when
// a folder change inside its yield cut it short.
TEST_F(ShowAllTest, RunCutShortAfterRunningOutOfCellsLeavesTheNextClickWorking) {
    const auto& next = Folder({{"d.exe", PeWithIcons(4, 2)}});
    f().picIcon.setLimit(4);
    bool acted = false;
    screen.onYield = [&](int) {
        if (acted || !f().CellsExhausted) return;
        acted = true;
        f().Dir1.setPath(next.path());
    };
    ShowAll();
    screen.onYield = nullptr;
    ASSERT_TRUE(acted);
    EXPECT_FALSE(f().CellsExhausted);

    f().File1.UserClickItem(1);
    ExpectPanel({Rgb(IconColour(4, 0)), Rgb(IconColour(4, 1))});
}

TEST_F(ShowAllTest, OnlyTheFirstItemDoesAnything) {
    // Above the guard, so that even the question would show.
    f().File1.setColumnText(2, "5000");
    f().File1.UserClickItem(3);
    sys.extractions.clear();
    for (std::int16_t index : {1, -1, 2}) {
        SCOPED_TRACE(index);
        browsing().mnuDirectories_Click(index);
        EXPECT_TRUE(screen.boxes.empty());
        EXPECT_TRUE(sys.extractions.empty());
        EXPECT_EQ(f().IconCount, 1);
        EXPECT_TRUE(f().fraIcons.Visible());
    }
}

// A newer command that runs inside one of show-all's yields takes the panel
// over: show-all stops and loads nothing more after it.
TEST_F(ShowAllTest, NewerCommandInsideAYieldStopsIt) {
    const auto& empty = Folder({});
    struct Case {
        const char* name;
        // When to act, seen at each yield of the run.
        std::function<bool()> when;
        std::function<void()> act;
        std::vector<Argb> cells;
        int rows;
    };
    // Row 1 (two icons) is loaded and counted only when the loop yields after it.
    const auto loopYieldAfterRow1 = [this] { return f().IconCount == 2; };
    // The first icon of row 2 has just been drawn.
    const auto insideRow2 = [this] { return sys.extractions.size() == 3; };
    const auto clickRow3 = [this] { f().File1.UserClickItem(3); };
    const auto clickRow1 = [this] { f().File1.UserClickItem(1); };
    const auto changeFolder = [this, &empty] { f().Dir1.setPath(empty.path()); };
    const Case cases[] = {
        {"row click in the loop's yield", loopYieldAfterRow1, clickRow3, IconsOf({3}), 3},
        {"click on the row just loaded", loopYieldAfterRow1, clickRow1, IconsOf({1}), 3},
        {"row click inside a file's load", insideRow2, clickRow3, IconsOf({3}), 3},
        {"folder change in the loop's yield", loopYieldAfterRow1, changeFolder, {}, 0},
        {"folder change inside a file's load", insideRow2, changeFolder, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(dir->path());
        sys.extractions.clear();
        bool acted = false;
        std::size_t extractionsBefore = 0;
        screen.onYield = [&](int) {
            if (acted || !c.when()) return;
            acted = true;
            extractionsBefore = sys.extractions.size();
            c.act();
        };
        ShowAll();
        screen.onYield = nullptr;
        ASSERT_TRUE(acted);

        ExpectPanel(c.cells);
        EXPECT_EQ(f().File1.Count(), c.rows);
        EXPECT_EQ(f().fraNoFiles.Visible(), c.rows == 0);
        // Nothing was extracted after the newer command's own icons.
        EXPECT_EQ(sys.extractions.size() - extractionsBefore, c.cells.size());
        for (int i = static_cast<int>(c.cells.size()); i < f().picIcon.Count(); ++i)
            EXPECT_TRUE(f().picIcon(i).IsBlank()) << "cell " << i;
    }
}

// Closing the window in any yield of the run ends the program there: the run
// unwinds, reads no further icon and makes no cell.
TEST_F(ShowAllTest, ClosingInAnyYieldEndsTheRunThere) {
    const int before = screen.yields;
    ShowAll();
    for (int k = 1, run = screen.yields - before; k <= run; ++k) {
        SCOPED_TRACE("closed in yield " + std::to_string(k));
        window = std::make_unique<app::TesselWindow>(screen, sys);
        screen.ended = false;
        f().Form_Load();
        Open(dir->path());
        std::size_t readsAtClose = 0;
        screen.onYield = [&, at = screen.yields + k](int n) {
            if (n == at) screen.queued.push_back([&] { f().Me.Unload.raise(), readsAtClose = sys.extractions.size(); });
        };
        EXPECT_THROW(ShowAll(), platform::ProgramEnded);
        EXPECT_EQ(sys.extractions.size(), readsAtClose);
        EXPECT_EQ(f().picIcon.Count(), 1) << "no cell made after the close";
    }
    screen.onYield = nullptr;
}

// The status text says what could not be shown; a folder that cannot be
// opened leaves the lists on the nearest folder still there.
TEST_F(ShowAllTest, TheStatusTextSaysWhatWentWrong) {
    namespace fs = std::filesystem;
    const std::string sub = dir->file("sub");
    const auto oddIconsFail = [](auto&, int i) { return i % 2 ? std::nullopt : std::optional(test_support::SolidIcon(0)); };
    const struct { const char* name; std::function<void()> act; std::string status; } cases[] = {
        {"a folder that is not there", [&] { f().Dir1.UserOpen(sub); }, "无法打开文件夹：" + sub},
        {"a file clicked in a folder gone since",
         [&] { fs::create_directory(sub); fs::copy_file(dir->file("a.exe"), sub + "/a.exe"); Open(sub);
               fs::remove_all(sub); f().File1.UserClickItem(1); },
         "无法打开文件夹：" + sub},
        {"show-all out of cells", [&] { f().picIcon.setLimit(4); ShowAll(); f().picIcon.setLimit(32768); },
         "图标太多，只显示了 2 个，共 8 个"},
        {"a file not all drawn", [&] { sys.extract = oddIconsFail; f().File1.UserClickItem(2); },
         "b.exe：5 个图标中有 2 个无法显示"},
        {"show-all not all drawn", [&] { ShowAll(); }, "8 个图标中有 3 个无法显示"},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(f().lblStatus.Caption(), c.status) << c.name;
        EXPECT_EQ(f().Dir1.Path(), dir->path()) << c.name;
        EXPECT_EQ(f().File1.Count(), 3) << c.name;
    }
}

// Row positions are 16-bit: the loop stops at row 32767 and nothing crashes.
TEST_F(BrowsingTest, ShowAllStopsAtTheLastSixteenBitRow) {
    const auto& dir = Folder({});
    Open(dir.path());
    AddRows(32770);
    f().File1.setColumnText(2, "32770");
    // No picture: every row asks for its icon, and no cells pile up.
    sys.extract = [](const std::string&, int) { return std::nullopt; };

    ASSERT_NO_THROW(f().mnuDirectories(0).Click.raise());
    ASSERT_EQ(screen.boxes.size(), 1u);
    ASSERT_EQ(sys.extractions.size(), 32767u);
    EXPECT_EQ(sys.extractions.front().first, dir.path() + "/r00001.exe");
    EXPECT_EQ(sys.extractions.back().first, dir.path() + "/r32767.exe");
    EXPECT_TRUE(f().fraIcons.Visible());
    EXPECT_FALSE(f().progbar.Visible());
}

}  // namespace
}  // namespace browsing_tests
