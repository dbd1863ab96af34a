// The file list: a header click sorts as text and reverses; a row click loads
// the file displayed at that row; positions past 16 bits do nothing.
#include "browsing_fixture.h"

namespace browsing_tests {
namespace {

class FileListTest : public BrowsingTest {
protected:
    void SetUp() override {
        BrowsingTest::SetUp();
        dir = &Folder({{"a.exe", PeWithIcons(1, 3)},
                       {"b.exe", PeWithIcons(2, 30)},
                       {"c.exe", PeWithIcons(3, 1)},
                       {"d.exe", PeWithIcons(4, 12)}});
        Open(dir->path());
    }
    const test_support::TempFolder* dir = nullptr;
};

TEST_F(FileListTest, HeaderClicksSortAsTextAndReverse) {
    struct Step {
        const char* name;
        int header;
        std::vector<std::string> names;
        int key, order;
    };
    // Counts a 3, b 30, c 1, d 12.
    const Step steps[] = {
        {"count column", 2, {"c.exe", "d.exe", "a.exe", "b.exe"}, 1, 0},  // 1, 12, 3, 30
        {"count column again", 2, {"b.exe", "a.exe", "d.exe", "c.exe"}, 1, 1},  // 30, 3, 12, 1
        {"name column after a descending count", 1, {"a.exe", "b.exe", "c.exe", "d.exe"}, 0, 0},
        {"name column again", 1, {"d.exe", "c.exe", "b.exe", "a.exe"}, 0, 1},
        {"count column after a descending name", 2, {"c.exe", "d.exe", "a.exe", "b.exe"}, 1, 0},
        {"name column once more", 1, {"a.exe", "b.exe", "c.exe", "d.exe"}, 0, 0},
    };
    ASSERT_EQ(DisplayedNames(), (std::vector<std::string>{"a.exe", "b.exe", "c.exe", "d.exe"}));
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        f().File1.UserClickColumn(s.header);
        EXPECT_EQ(DisplayedNames(), s.names);
        EXPECT_EQ(f().File1.SortKey(), s.key);
        EXPECT_EQ(f().File1.SortOrder(), s.order);
    }
}

TEST_F(FileListTest, SortSurvivesARescan) {
    f().File1.UserClickColumn(2);
    f().File1.UserClickColumn(2);
    Open(Folder({{"x.ico", IconFile({IconColour(5, 0)})}, {"y.exe", PeWithIcons(6, 10)}, {"z.exe", PeWithIcons(7, 2)}}).path());
    EXPECT_EQ(DisplayedNames(), (std::vector<std::string>{"z.exe", "y.exe", "x.ico"}));  // 2, 10, 1
    EXPECT_EQ(f().File1.SortKey(), 1);
    EXPECT_EQ(f().File1.SortOrder(), 1);
}

TEST_F(FileListTest, RowClickLoadsTheDisplayedFile) {
    struct Case {
        const char* name;
        std::vector<int> headerClicks;
        int row;
        std::string file;
        int fileNumber, icons;
    };
    const Case cases[] = {
        {"first row unsorted", {}, 1, "a.exe", 1, 3},
        {"first row by count", {2}, 1, "c.exe", 3, 1},
        {"last row by count", {2}, 4, "b.exe", 2, 30},
        {"first row by count descending", {2, 2}, 1, "b.exe", 2, 30},
        {"second row by name descending", {1}, 2, "c.exe", 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Back to name ascending, then the case's clicks.
        while (f().File1.SortKey() != 0 || f().File1.SortOrder() != 0) f().File1.UserClickColumn(1);
        for (int h : c.headerClicks) f().File1.UserClickColumn(h);
        sys.extractions.clear();

        f().File1.UserClickItem(c.row);
        ASSERT_EQ(sys.extractions.size(), static_cast<std::size_t>(c.icons));
        for (const auto& [path, index] : sys.extractions) EXPECT_EQ(path, dir->path() + "/" + c.file);
        EXPECT_EQ(f().IconCount, c.icons);
        EXPECT_EQ(CellColours(1), std::vector<Argb>{IconColour(c.fileNumber, 0) & 0xFFFFFFu});
        EXPECT_EQ(f().SelectedIcon, 0);
        EXPECT_TRUE(f().lnFrame(0).Visible());
        EXPECT_TRUE(f().fraIcons.Visible());
        EXPECT_EQ(f().lblStatus.Caption(), "");
        EXPECT_FALSE(f().progbar.Visible());
        EXPECT_FALSE(f().CellsExhausted);
    }
}

// Rows a rescan adds into a sorted list go where the order puts them: in each
// order every row still loads the file and the count it shows.
TEST_F(FileListTest, AfterARescanInEachOrderEveryRowLoadsItsOwnFile) {
    for (int header : {1, 2, 2}) {  // name descending, count, count descending
        f().File1.UserClickColumn(header);
        browsing().ListIconFiles();
        const Rows rows = DisplayedRows();
        for (int i = 1; i <= static_cast<int>(rows.size()); ++i) {
            const auto& [name, count] = rows[static_cast<std::size_t>(i - 1)];
            sys.extractions.clear();
            f().File1.UserClickItem(i);
            EXPECT_EQ(std::to_string(f().IconCount), count) << name;
            for (const auto& e : sys.extractions) EXPECT_EQ(e.first, dir->path() + "/" + name);
        }
    }
}

TEST_F(FileListTest, RowClickAfterRunningOutOfCellsLoadsAgain) {
    f().picIcon.setLimit(12);
    f().File1.UserClickItem(2);  // b.exe, 30 icons
    EXPECT_TRUE(sys.extractions.empty());
    EXPECT_FALSE(f().CellsExhausted);
    f().File1.UserClickItem(1);  // a.exe, 3 icons
    EXPECT_EQ(f().IconCount, 3);
    EXPECT_EQ(sys.extractions.size(), 3u);
}

TEST_F(FileListTest, SecondClickReplacesThePanel) {
    f().File1.UserClickItem(2);  // b.exe, 30 icons
    f().File1.UserClickItem(1);  // a.exe, 3 icons
    EXPECT_EQ(f().IconCount, 3);
    EXPECT_EQ(f().picIcon.Count(), 3);
    EXPECT_EQ(CellColours(3),
              (std::vector<Argb>{IconColour(1, 0) & 0xFFFFFFu, IconColour(1, 1) & 0xFFFFFFu, IconColour(1, 2) & 0xFFFFFFu}));
}

// Row positions handed to the loader are 16-bit: a click past 32767 leaves the
// panel alone (a failure that reaches the dispatcher is dropped there).
TEST_F(BrowsingTest, RowClickPastSixteenBitsDoesNothing) {
    const auto& dir = Folder({});
    Open(dir.path());
    AddRows(32770);
    sys.extract = [](const std::string&, int i) { return test_support::SolidIcon(IconColour(1, i)); };

    f().File1.UserClickItem(32767);
    ASSERT_EQ(sys.extractions.size(), 1u);
    EXPECT_EQ(sys.extractions[0].first, dir.path() + "/r32767.exe");
    ASSERT_EQ(f().IconCount, 1);

    for (int row : {32768, 32770}) {
        SCOPED_TRACE(row);
        try {
            f().File1.UserClickItem(row);
        } catch (const platform::Failure&) {
        }
        EXPECT_EQ(sys.extractions.size(), 1u);
        EXPECT_EQ(f().IconCount, 1);
        EXPECT_FALSE(f().picIcon(0).IsBlank());
        EXPECT_TRUE(f().fraIcons.Visible());
    }
}

}  // namespace
}  // namespace browsing_tests
