// Folder enumeration, file counting and folder resolution on real folders.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fake_services.h"
#include "system/posix_files.h"

namespace {

using test_support::TempFolder;

void MakeFolder(const std::string& path) { ASSERT_EQ(::mkdir(path.c_str(), 0755), 0) << path; }
void Link(const std::string& target, const std::string& at) { ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at; }

// Every name Dir hands out, up to the "" that ends the enumeration.
std::vector<std::string> Enumerate(platform::PlainFileEnumeration& dir, const std::string& folder) {
    std::vector<std::string> names;
    for (std::string n = dir.Start(folder); !n.empty() && names.size() < 1000; n = dir.Next()) names.push_back(n);
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// A folder with a bit of everything a scan meets.
struct MixedFolder {
    TempFolder dir;
    MixedFolder() {
        dir.write("app.exe", "MZ");
        dir.write("lib.DLL", "MZ");
        dir.write("readme.txt", "text");
        dir.write("图标 1.ico", "ico");
        dir.write(".hidden.ico", "ico");
        dir.write("empty", "");
        MakeFolder(dir.file("sub.exe"));
        MakeFolder(dir.file(".git"));
        dir.write("sub.exe/inner.exe", "MZ");
        Link(dir.file("app.exe"), dir.file("link-to-file.exe"));
        Link("app.exe", dir.file("relative-link.ico"));
        Link(dir.file("sub.exe"), dir.file("link-to-folder.exe"));
        Link(dir.file("missing.exe"), dir.file("dangling.exe"));
        Link(dir.file("app.exe"), dir.file(".hidden-link.exe"));
    }
};

TEST(Dir, ListsPlainFilesAndLinksToThemButNotFoldersOrDotNames) {
    MixedFolder m;
    platform::PlainFileEnumeration dir;
    EXPECT_EQ(Sorted(Enumerate(dir, m.dir.path())),
              Sorted({"app.exe", "lib.DLL", "readme.txt", "图标 1.ico", "empty", "link-to-file.exe", "relative-link.ico"}));
}

TEST(Subfolders, RealFoldersOnlyNeitherLinksToThemNorDotNames) {
    MixedFolder m;
    MakeFolder(m.dir.file("a folder"));
    EXPECT_EQ(platform::ListSubfolders(m.dir.path()), (std::vector<std::string>{"a folder", "sub.exe"}));
}

TEST(Dir, EndsWithAnEmptyNameAndStaysEnded) {
    TempFolder t;
    t.write("one.exe", "MZ");
    platform::PlainFileEnumeration dir;
    EXPECT_EQ(dir.Start(t.path()), "one.exe");
    EXPECT_EQ(dir.Next(), "");
    EXPECT_EQ(dir.Next(), "");
}

TEST(Dir, ATrailingSlashNamesTheSameFolder) {
    TempFolder t;
    t.write("one.exe", "MZ");
    platform::PlainFileEnumeration dir;
    EXPECT_EQ(dir.Start(t.path() + "/"), "one.exe");
}

TEST(Dir, ASecondStartRestartsTheOneEnumeration) {
    TempFolder a, b;
    for (const char* n : {"a1", "a2", "a3"}) a.write(n, "x");
    for (const char* n : {"b1", "b2"}) b.write(n, "x");
    platform::PlainFileEnumeration dir;
    std::vector<std::string> seen;
    seen.push_back(dir.Start(a.path()));
    seen.push_back(dir.Next());
    // A new start abandons what was left of the first folder.
    seen.push_back(dir.Start(b.path()));
    for (std::string n = dir.Next(); !n.empty(); n = dir.Next()) seen.push_back(n);
    ASSERT_EQ(seen.size(), 4u);
    const std::vector<std::string> as = {"a1", "a2", "a3"};
    EXPECT_NE(seen[0], seen[1]);
    for (int i : {0, 1}) EXPECT_NE(std::find(as.begin(), as.end(), seen[static_cast<std::size_t>(i)]), as.end()) << seen[static_cast<std::size_t>(i)];
    EXPECT_EQ(Sorted({seen[2], seen[3]}), Sorted({"b1", "b2"}));
    EXPECT_EQ(dir.Next(), "");
    // Starting the same folder again begins at its start.
    EXPECT_EQ(Sorted(Enumerate(dir, a.path())), Sorted({"a1", "a2", "a3"}));
}

TEST(CountFiles, CountsHiddenFilesButNotFolders) {
    const struct {
        const char* name;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        int count;
    } cases[] = {
        {"empty_folder", {}, {}, 0},
        {"only_folders", {}, {"a", "b", ".c"}, 0},
        {"files_and_folders", {"x.exe", "y.dll"}, {"z.exe"}, 2},
        {"hidden_file_counts", {".hidden", "shown.ico"}, {".git"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        for (const auto& f : c.files) t.write(f, "x");
        for (const auto& d : c.folders) MakeFolder(t.file(d));
        EXPECT_EQ(platform::CountFiles(t.path()), c.count);
    }
}

TEST(CountFiles, CountsLinksToFilesButNotLinksToFolders) {
    MixedFolder m;
    // app.exe lib.DLL readme.txt 图标 1.ico .hidden.ico empty, the three links to
    // app.exe; not the folders, the link to a folder or the dangling link.
    EXPECT_EQ(platform::CountFiles(m.dir.path()), 9);
}

TEST(Folders, AMissingFolderHasNoFiles) {
    TempFolder t;
    t.write("file.exe", "MZ");
    platform::PlainFileEnumeration dir;
    const struct {
        const char* name;
        std::string folder;
    } cases[] = {{"missing", t.file("missing")}, {"a_file", t.file("file.exe")}, {"empty_name", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dir.Start(c.folder), "");
        EXPECT_EQ(dir.Next(), "");
        EXPECT_EQ(platform::CountFiles(c.folder), 0);
        EXPECT_TRUE(platform::ListSubfolders(c.folder).empty());
    }
}

TEST(Folders, AnUnreadableFolderHasNoFiles) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
    TempFolder t;
    MakeFolder(t.file("locked"));
    std::string locked = t.file("locked");
    t.write("locked/a.exe", "MZ");
    MakeFolder(t.file("locked/inner"));
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    platform::PlainFileEnumeration dir;
    EXPECT_EQ(dir.Start(locked), "");
    EXPECT_EQ(platform::CountFiles(locked), 0);
    EXPECT_TRUE(platform::ListSubfolders(locked).empty());
    EXPECT_EQ(platform::ResolveFolder(locked), std::nullopt);
}

TEST(ResolveFolder, GivesTheFolderWithoutATrailingSlash) {
    TempFolder t;
    MakeFolder(t.file("sub"));
    t.write("file.exe", "MZ");
    Link(t.file("sub"), t.file("link-to-sub"));
    const struct {
        const char* name;
        std::string requested;
        std::optional<std::string> folder;
    } cases[] = {
        {"folder", t.path(), t.path()},
        {"trailing_slash_dropped", t.path() + "/", t.path()},
        {"trailing_slashes_dropped", t.path() + "///", t.path()},
        {"subfolder", t.file("sub"), t.file("sub")},
        {"root_keeps_its_slash", "/", "/"},
        {"root_twice", "//", "/"},
        {"link_to_folder", t.file("link-to-sub"), t.file("link-to-sub")},
        {"dot_dot_climbs", t.file("sub") + "/..", t.path()},
        {"dots_dropped", t.path() + "/./sub/.", t.file("sub")},
        {"a_file", t.file("file.exe"), std::nullopt},
        {"missing", t.file("missing"), std::nullopt},
        {"missing_under_a_file", t.file("file.exe/x"), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::ResolveFolder(c.requested), c.folder);
    }
}

}  // namespace
