// The folder scan: which files are listed, in what order, with which counts,
// headers and notice; its progress; abandoned and failed scans.
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "browsing/browsing.h"
#include "browsing_fixture.h"

namespace browsing_tests {
namespace {

TEST(ExtensionRule, TextAfterTheFirstDotUpperCased) {
    struct Case {
        const char* name;
        const char* extension;
        bool matches;
    };
    const Case cases[] = {
        {"notepad.exe", "EXE", true},
        {"APP.Exe", "EXE", true},
        {"Cursor.Cur", "CUR", true},
        {"lib.dLL", "DLL", true},
        {"setup.en.exe", "EN.EXE", false},
        {"notes.EXE.txt", "EXE.TXT", false},
        {"LICENSE", "", false},
        {"trailing.", "", false},
        // The rule alone would take it; the enumeration never hands it over.
        {".ico", "ICO", true},
        {"a.exe ", "EXE ", false},
        {"\xc3\xa9t\xc3\xa9.ico", "ICO", true},
        {"x.\xc3\xa9xe", "\xc3\xa9XE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(browsing::ExtensionOf(c.name), c.extension);
        EXPECT_EQ(browsing::IsIconFileExtension(browsing::ExtensionOf(c.name)), c.matches);
    }
}

// One folder of every kind of name the scan meets.
std::vector<FixtureFile> MixedFolder() {
    return {
        {"notepad.exe", PeWithIcons(1, 3)},
        {"Cursor.Cur", IconFile({IconColour(2, 0)}, 2)},
        {"readme.txt", Text("read me")},
        {"LICENSE", Text("license")},
        {"setup.en.exe", PeWithIcons(3, 2)},
        {"notes.EXE.txt", PeWithIcons(4, 1)},
        {"APP.Exe", PeWithIcons(5, 1)},
        {"app.exe", PeWithIcons(6, 2)},
        // Hidden files: a leading dot hides a name on this system, so a file
        // called just ".ico" is never enumerated although its extension is ICO.
        {".ico", IconFile({IconColour(7, 0)})},
        {".hidden.exe", PeWithIcons(8, 4)},
        {"noicons.exe", PeWithoutIcons()},
        {"x.exe", Text("not an executable")},
        {"lib.dll", PeWithIcons({IconColour(9, 0), IconColour(9, 1)}, true)},
        {"pic.ico", IconFile({IconColour(10, 0), IconColour(10, 1)})},
    };
}

TEST_F(BrowsingTest, ListsIconFilesSortedByNameWithCountsHeadersAndTotal) {
    const auto& dir = Folder(MixedFolder());
    // Folders are neither listed nor counted, whatever their names.
    std::filesystem::create_directory(dir.file("sub.exe"));
    RecordCounts();
    Open(dir.path());

    // Letter case aside, so APP.Exe and app.exe sit together in enumeration order.
    ExpectCompletedScan({{"APP.Exe", "1"},
                         {"app.exe", "2"},
                         {"Cursor.Cur", "1"},
                         {"lib.dll", "2"},
                         {"notepad.exe", "3"},
                         {"pic.ico", "1"}},
                        10);
    // Only names with a matching extension are opened, through the folder
    // path joined with one separator.
    std::vector<std::string> expected;
    for (const char* n : {"APP.Exe", "Cursor.Cur", "app.exe", "lib.dll", "noicons.exe", "notepad.exe", "pic.ico", "x.exe"})
        expected.push_back(dir.path() + "/" + n);
    EXPECT_EQ(counted, expected);
}

TEST_F(BrowsingTest, ProgressCountsHiddenFilesAndAdvancesPerName) {
    const auto& dir = Folder(MixedFolder());
    std::filesystem::create_directory(dir.file("sub"));
    // The notice of an empty folder goes as soon as the next scan starts.
    Open(Folder({}).path());
    ASSERT_TRUE(f().fraNoFiles.Visible());
    struct Seen {
        bool visible;
        float max, value;
        std::string status;
        bool notice;
    };
    std::vector<Seen> seen;
    screen.onYield = [&](int) {
        seen.push_back({f().progbar.Visible(), f().progbar.Max(), f().progbar.Value(), f().lblStatus.Caption(),
                        f().fraNoFiles.Visible()});
    };
    Open(dir.path());

    // 14 files, two of them hidden, the folder not counted: a range of 0..13.
    // 12 names are enumerated: the set-up yield, one per name, and the end.
    ASSERT_EQ(seen.size(), 1u + 12u + 1u);
    for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
        SCOPED_TRACE("yield " + std::to_string(i + 1));
        EXPECT_TRUE(seen[i].visible);
        EXPECT_EQ(seen[i].max, 13.0f);
        EXPECT_EQ(seen[i].value, static_cast<float>(i));
        EXPECT_EQ(seen[i].status, browsing::kReadingListText);
        EXPECT_FALSE(seen[i].notice);
    }
    EXPECT_FALSE(seen.back().visible);
    EXPECT_EQ(seen.back().status, "");
    EXPECT_FALSE(f().progbar.Visible());
    EXPECT_EQ(f().lblStatus.Caption(), "");
}

TEST_F(BrowsingTest, FolderOfOneFileShowsNoProgressBar) {
    struct Case {
        const char* name;
        std::vector<FixtureFile> files;
        bool barShown;
    };
    const Case cases[] = {
        {"one plain file", {{"a.exe", PeWithIcons(1, 2)}}, false},
        {"one hidden file", {{".a.exe", PeWithIcons(1, 2)}}, false},
        {"one text file", {{"a.txt", Text("a")}}, false},
        {"a plain and a hidden file", {{"a.exe", PeWithIcons(1, 2)}, {".b", Text("b")}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& dir = Folder(c.files);
        bool shown = false;
        screen.onYield = [&](int) { shown = shown || f().progbar.Visible(); };
        Open(dir.path());
        EXPECT_EQ(shown, c.barShown);
        EXPECT_FALSE(f().progbar.Visible());
    }
}

TEST_F(BrowsingTest, EachCompletedScanReplacesTheLastOne) {
    struct Case {
        const char* name;
        std::vector<FixtureFile> files;
        Rows rows;
        int total;
    };
    const Case cases[] = {
        {"three files of 4, 1 and 7 icons",
         {{"c.exe", PeWithIcons(1, 4)}, {"a.ico", IconFile({IconColour(2, 0)})}, {"b.dll", PeWithIcons(3, 7)}},
         {{"a.ico", "1"}, {"b.dll", "7"}, {"c.exe", "4"}},
         12},
        {"only files without icons",
         {{"noicons.exe", PeWithoutIcons()}, {"x.exe", Text("x")}, {"readme.txt", Text("r")}},
         {},
         0},
        {"one icon file among others", {{"k.cur", IconFile({IconColour(4, 0)}, 2)}, {"y.txt", Text("y")}}, {{"k.cur", "1"}}, 1},
        {"an empty folder", {}, {}, 0},
        {"only hidden icon files", {{".a.exe", PeWithIcons(5, 2)}, {".ico", IconFile({IconColour(6, 0)})}}, {}, 0},
        {"icon files again", {{"z.exe", PeWithIcons(7, 2)}}, {{"z.exe", "2"}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(Folder(c.files).path());
        ExpectCompletedScan(c.rows, c.total);
    }
}

// Names are bytes: listed as the folder holds them and opened by the same
// bytes, whether or not they are valid UTF-8.
TEST_F(BrowsingTest, NamesAreListedAndOpenedByTheirBytes) {
    const std::string gbk = "\xb2\xe2\xca\xd4.exe";  // 测试 in code page 936
    const std::string utf8 = "\xe5\x9b\xbe\xe6\xa0\x87.ICO";  // 图标
    const auto& dir = Folder({{gbk, PeWithIcons(1, 3)}, {utf8, IconFile({IconColour(2, 0)})}});
    Open(dir.path());
    ExpectCompletedScan({{gbk, "3"}, {utf8, "1"}}, 4);
    for (int row : {1, 2}) {
        SCOPED_TRACE(row);
        sys.extractions.clear();
        f().File1.UserClickItem(row);
        EXPECT_EQ(f().IconCount, row == 1 ? 3 : 1);
        ASSERT_FALSE(sys.extractions.empty());
        EXPECT_EQ(sys.extractions[0].first, dir.path() + "/" + (row == 1 ? gbk : utf8));
    }
}

TEST_F(BrowsingTest, ScanEmptiesTheIconPanel) {
    const auto& dir = Folder({{"a.exe", PeWithIcons(1, 3)}});
    Open(dir.path());
    f().File1.UserClickItem(1);
    ASSERT_EQ(f().IconCount, 3);
    ASSERT_TRUE(f().lnFrame(0).Visible());

    Open(Folder({{"b.exe", PeWithIcons(2, 1)}}).path());
    EXPECT_EQ(f().IconCount, 0);
    EXPECT_EQ(f().SelectedIcon, -1);
    EXPECT_FALSE(f().lnFrame(0).Visible());
    for (int i = 0; i < f().picIcon.Count(); ++i) EXPECT_TRUE(f().picIcon(i).IsBlank()) << "cell " << i;
}

// A folder that goes or cannot be read lists nothing of its own: the lists
// move up to the nearest folder still there, and the status text says why.
TEST_F(BrowsingTest, FolderThatCannotBeReadMovesUpAndSaysSo) {
    struct Case {
        const char* name;
        bool needsNonRoot;
        // Takes the folder away, before the scan or at one of its yields.
        std::function<void(const std::string&)> takeAway;
        int atYield;  // 0: before the scan
    };
    const auto remove = [](const std::string& p) { std::filesystem::remove_all(p); };
    const auto lock = [](const std::string& p) {
        std::filesystem::permissions(p, std::filesystem::perms::none, std::filesystem::perm_options::replace);
    };
    const Case cases[] = {
        {"removed before the scan", false, remove, 0},
        {"removed at the set-up yield", false, remove, 1},
        // Rows read before the folder went name files that are gone.
        {"removed after the first name", false, remove, 2},
        // The superuser reads any folder, so only others can see this one fail.
        {"unreadable", true, lock, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsNonRoot && ::geteuid() == 0) {
            std::cout << "[ skipped ] " << c.name << ": running as root\n";
            continue;
        }
        const auto& parent = Folder({{"p.exe", PeWithIcons(4, 1)}});
        const std::string dir = parent.file("sub");
        std::filesystem::create_directory(dir);
        for (const char* name : {"a.exe", "b.exe", "c.exe"}) parent.write(std::string("sub/") + name, PeWithIcons(1, 2));
        Open(dir);
        ASSERT_EQ(f().File1.Count(), 3);

        screen.yields = 0;
        screen.onYield = [&](int n) {
            if (n == c.atYield) c.takeAway(dir);
        };
        if (c.atYield == 0) c.takeAway(dir);
        // The folder view raises its change event again, as when the user reopens it.
        ASSERT_NO_THROW(browsing().Dir1_Change());
        screen.onYield = nullptr;
        EXPECT_EQ(f().Dir1.Path(), parent.path());
        EXPECT_EQ(DisplayedRows(), (Rows{{"p.exe", "1"}}));
        EXPECT_EQ(f().lblStatus.Caption(), "无法打开文件夹：" + dir);
        // Unlocked again, or the folder could not be removed.
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    }
}

TEST_F(BrowsingTest, ChangeOfFolderInsideAScanLeavesOnlyTheNewerScan) {
    const auto& older = Folder({{"a1.exe", PeWithIcons(1, 1)},
                                {"a2.exe", PeWithIcons(2, 2)},
                                {"a3.txt", Text("a3")},
                                {"a4.ico", IconFile({IconColour(3, 0)})}});
    const auto& newer = Folder({{"b1.exe", PeWithIcons(4, 2)}, {"b2.ico", IconFile({IconColour(5, 0)})}});
    const auto& empty = Folder({});
    struct Case {
        const char* name;
        int atYield;  // 1 is the progress set-up's; 2..5 follow the four names; 6 is the last
        const test_support::TempFolder* to;
        Rows rows;
        int total;
    };
    const Rows newerRows{{"b1.exe", "2"}, {"b2.ico", "1"}};
    const Case cases[] = {
        {"in the progress set-up's yield", 1, &newer, newerRows, 3},
        {"after the first name", 2, &newer, newerRows, 3},
        {"after a name without a row", 4, &newer, newerRows, 3},
        {"after the last name", 5, &newer, newerRows, 3},
        {"in the final yield", 6, &newer, newerRows, 3},
        {"to an empty folder in the set-up's yield", 1, &empty, {}, 0},
        {"to an empty folder after a row was added", 3, &empty, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Start from a third folder so that every case really changes the path.
        Open(Folder({}).path());
        counted.clear();
        RecordCounts();
        std::size_t countsBeforeChange = 0;
        screen.yields = 0;
        screen.onYield = [&](int n) {
            if (n != c.atYield) return;
            countsBeforeChange = counted.size();
            f().Dir1.setPath(c.to->path());
        };
        Open(older.path());
        screen.onYield = nullptr;

        EXPECT_EQ(f().Dir1.Path(), c.to->path());
        ExpectCompletedScan(c.rows, c.total);
        // Once the path has moved the older scan opens no file of its own.
        for (std::size_t i = countsBeforeChange; i < counted.size(); ++i)
            EXPECT_EQ(counted[i].rfind(c.to->path() + "/", 0), 0u) << counted[i];
    }
}

TEST_F(BrowsingTest, SubfoldersAreWalkedDepthFirstInNameOrder) {
    const auto& dir = Folder({});
    for (const char* sub : {"Sub0", "sub1", "sub1/sub2", "sub3", ".hidden", "locked", "many"})
        std::filesystem::create_directory(dir.file(sub));
    const std::vector<FixtureFile> files = {
        {"a.exe", PeWithIcons(1, 2)}, {"Sub0/e.ico", IconFile({IconColour(2, 0)})}, {"sub1/b.dll", PeWithIcons(3, 1)}, {"sub1/none.dll", PeWithoutIcons()},
        {"sub1/sub2/c.exe", PeWithIcons(4, 3)}, {"sub3/f.ico", IconFile({IconColour(5, 0)})}, {".hidden/d.exe", PeWithIcons(6, 1)}, {"locked/g.exe", PeWithIcons(7, 1)}};
    for (const FixtureFile& file : files) dir.write(file.name, file.bytes);
    std::filesystem::create_directory_symlink(dir.file("sub1"), dir.file("loop"));
    // Listed as a folder that cannot be read lists (the superuser reads any): no names.
    sys.listings[dir.file("locked/")] = {};
    const Rows tree{{"a.exe", "2"}, {"Sub0/e.ico", "1"}, {"sub1/b.dll", "1"}, {"sub1/sub2/c.exe", "3"}, {"sub3/f.ico", "1"}};
    const std::vector<std::string> walk{"a.exe", "Sub0/e.ico", "sub1/b.dll", "sub1/none.dll", "sub1/sub2/c.exe", "sub3/f.ico"};
    // manyFiles: files of one icon each in many/; rows checked unless it is set, walked (the files counted, in
    // order) when given; barMax: the bar's largest maximum while shown, -1 for never shown.
    struct Case { const char* name; bool subfolders; int manyFiles, rescanAtYield; Rows rows; std::vector<std::string> walked;
                  int rowCount, total; float barMax; std::string status; };
    const Case cases[] = {
        {"off: the folder's own files only", false, 0, 0, {{"a.exe", "2"}}, {"a.exe"}, 1, 2, -1, ""},
        {"on: hidden folders, links and unreadable folders left out", true, 0, 0, tree, walk, 5, 8, 6, ""},
        {"on: a rescan inside a subfolder's yield has the last word", true, 0, 5, tree, {}, 5, 8, 6, ""},
        {"on: 32,767 rows fit", true, 32762, 0, {}, {}, 32767, 32770, 32768, ""},
        {"on: the row after them is not listed", true, 32763, 0, {}, {}, 32767, 32770, 32769, browsing::kTooManyFilesText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.file("many"));
        std::filesystem::create_directory(dir.file("many"));
        for (int i = 0; i < c.manyFiles; ++i) dir.write("many/" + std::to_string(100000 + i) + ".ico", std::string());
        f().mnuIncludeSubfolders().setChecked(c.subfolders);
        Open(Folder({}).path());
        counted.clear();
        RecordCounts([](const std::string& p) { return p.find("/many/") == std::string::npos ? std::nullopt : std::optional(1); });
        float barMax = -1;
        screen.yields = 0;
        screen.onYield = [&](int n) {
            if (f().progbar.Visible()) barMax = std::max(barMax, f().progbar.Max());
            if (n == c.rescanAtYield) browsing().ListIconFiles();
        };
        Open(dir.path());
        screen.onYield = nullptr;

        EXPECT_EQ(f().File1.Count(), c.rowCount);
        EXPECT_EQ(f().File1.ColumnText(2), std::to_string(c.total));
        EXPECT_EQ(f().lblStatus.Caption(), c.status);
        EXPECT_EQ(barMax, c.barMax);
        std::vector<std::string> walked;
        for (const std::string& w : counted) walked.push_back(w.substr(dir.path().size() + 1));
        if (!c.walked.empty()) EXPECT_EQ(walked, c.walked);
        if (c.manyFiles > 0) continue;
        EXPECT_EQ(DisplayedRows(), c.rows);
        // A row's text, joined to the folder, names its file: a click shows its icons, show-all every icon.
        for (int i = 1; i <= f().File1.Count(); ++i) {
            browsing().File1_ItemClick(f().File1.Item(i));
            EXPECT_EQ(std::to_string(f().IconCount), c.rows[static_cast<std::size_t>(i - 1)].second) << i;
        }
        f().mnuDirectories(0).Click.raise();
        EXPECT_EQ(f().IconCount, c.total);
    }
}

}  // namespace
}  // namespace browsing_tests
