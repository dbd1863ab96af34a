// Drive and folder navigation: the drive list moves the folder view, every
// folder change rescans, the folder menu opens on a plain right click, and
// file paths are joined the same way in a folder and at the root.
#include "browsing_fixture.h"

namespace browsing_tests {
namespace {

TEST_F(BrowsingTest, DriveChoiceMovesTheFolderViewOrLeavesBothWhereTheyWere) {
    const auto& first = Folder({{"a.exe", PeWithIcons(1, 2)}});
    const auto& second = Folder({{"b.exe", PeWithIcons(2, 1)}, {"c.ico", IconFile({IconColour(3, 0)})}});
    const std::string missing = first.path() + "-gone";
    f().Drive1.setList({"/", first.path(), second.path(), missing});
    Open(first.path());
    const std::string startDrive = f().Drive1.Drive();

    struct Step {
        const char* name;
        std::string drive;
        std::string shownDrive, folder;
        Rows rows;
        int scans;  // scans the choice starts
    };
    const Step steps[] = {
        {"a drive that cannot be opened", missing, startDrive, first.path(), {{"a.exe", "2"}}, 0},
        {"a drive that can", second.path(), second.path(), second.path(), {{"b.exe", "1"}, {"c.ico", "1"}}, 1},
        {"the gone drive again", missing, second.path(), second.path(), {{"b.exe", "1"}, {"c.ico", "1"}}, 0},
        {"back to the first", first.path(), first.path(), first.path(), {{"a.exe", "2"}}, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const std::size_t scansBefore = sys.scans.size();
        ASSERT_NO_THROW(f().Drive1.setDrive(s.drive));
        EXPECT_EQ(f().Drive1.Drive(), s.shownDrive);
        EXPECT_EQ(f().Dir1.Path(), s.folder);
        EXPECT_EQ(DisplayedRows(), s.rows);
        EXPECT_EQ(sys.scans.size() - scansBefore, static_cast<std::size_t>(s.scans));
    }
}

TEST_F(BrowsingTest, OpeningAFolderScansItOnce) {
    const auto& dir = Folder({{"a.exe", PeWithIcons(1, 2)}});
    const std::size_t before = sys.scans.size();
    Open(dir.path());
    EXPECT_EQ(sys.scans.size() - before, 1u);
    // The same folder again is no change.
    Open(dir.path());
    Open(dir.path() + "/");
    EXPECT_EQ(sys.scans.size() - before, 1u);
    EXPECT_EQ(sys.scans.back(), dir.path() + "/");
}

TEST_F(BrowsingTest, FolderMenuOpensOnlyOnAPlainRightButtonRelease) {
    const auto& dir = Folder({{"a.exe", PeWithIcons(1, 2)}});
    Open(dir.path());
    struct Case {
        const char* name;
        int button, shift;
        bool opens;
    };
    const Case cases[] = {
        {"right", 2, 0, true},         {"right with Shift", 2, 1, false}, {"right with Ctrl", 2, 2, false},
        {"right with Alt", 2, 4, false}, {"right with Ctrl+Alt", 2, 6, false}, {"left", 1, 0, false},
        {"middle", 4, 0, false},       {"left and right", 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen.popups.clear();
        const std::size_t scansBefore = sys.scans.size();
        f().Dir1.MouseUp.raise(c.button, c.shift, 100.0f, 200.0f);
        if (c.opens) {
            ASSERT_EQ(screen.popups.size(), 1u);
            EXPECT_EQ(screen.popups[0], &f().mnuTop(2));
        } else {
            EXPECT_TRUE(screen.popups.empty());
        }
        // The folder stays put and is not scanned again.
        EXPECT_EQ(f().Dir1.Path(), dir.path());
        EXPECT_EQ(sys.scans.size(), scansBefore);
        EXPECT_EQ(DisplayedRows(), (Rows{{"a.exe", "2"}}));
    }
}

TEST_F(BrowsingTest, FolderMenuItemShowsAllIcons) {
    Open(Folder({{"a.exe", PeWithIcons(1, 2)}, {"b.exe", PeWithIcons(2, 1)}}).path());
    screen.choose = [&](platform::Menu&) { return &f().mnuDirectories(0); };
    f().Dir1.MouseUp.raise(2, 0, 0.0f, 0.0f);
    EXPECT_EQ(f().IconCount, 3);
    EXPECT_EQ(CellColours(3), (std::vector<Argb>{IconColour(1, 0) & 0xFFFFFFu, IconColour(1, 1) & 0xFFFFFFu,
                                                 IconColour(2, 0) & 0xFFFFFFu}));
}

// The scan opens folder + name with one separator; a load joins Dir1.Path,
// a separator and the name, which at the root gives "//name" (the system
// reads it as "/name"). The root cannot hold test files, so its listing is
// given and the icons answered here.
TEST_F(BrowsingTest, PathsAreJoinedWithTheFolderInAFolderAndAtTheRoot) {
    const auto& dir = Folder({});
    struct Case {
        const char* name;
        std::string folder;
        std::string counted, extracted;
    };
    const Case cases[] = {
        {"a folder", dir.path(), dir.path() + "/tool.exe", dir.path() + "/tool.exe"},
        {"the root", "/", "/tool.exe", "//tool.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sys.listings[c.folder == "/" ? "/" : c.folder + "/"] = {"tool.exe", "readme.txt"};
        counted.clear();
        RecordCounts([](const std::string&) { return 2; });
        sys.extract = [](const std::string&, int i) { return test_support::SolidIcon(IconColour(1, i)); };
        sys.extractions.clear();
        Open(c.folder);
        ASSERT_EQ(f().Dir1.Path(), c.folder);
        EXPECT_EQ(counted, std::vector<std::string>{c.counted});
        ASSERT_EQ(DisplayedRows(), (Rows{{"tool.exe", "2"}}));

        f().File1.UserClickItem(1);
        EXPECT_EQ(sys.extractions, (std::vector<std::pair<std::string, int>>{{c.extracted, 0}, {c.extracted, 1}}));
        EXPECT_EQ(f().IconCount, 2);
    }
}

}  // namespace
}  // namespace browsing_tests
