// A Windows program's menu entry and icon set as written for the desktop: the
// entry's names and quoting exactly, accepted by desktop-file-validate, and
// the set in its theme with the theme's cache refreshed.
#include "system/launcher_files.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "icon_file_builders.h"
#include "test_support.h"

namespace {

using icon_tests::TempDir;

icons::VersionInfo Strings(std::vector<icons::VersionStrings> tables) { return {"", "", std::move(tables), {}}; }

struct EntryCase {
    const char* name;
    std::string program;
    std::optional<icons::VersionInfo> version;
    std::string lines;  // between Type= and Icon=, which every entry has alike
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DesktopEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(DesktopEntryTest, NamesQuotesAndValidates) {
    const EntryCase& c = GetParam();
    const TempDir dir;
    const auto result = platform::WriteDesktopEntry(dir.path() + "/applications", "app", c.program, c.version);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.written.size(), 1u);
    EXPECT_EQ(result.written[0].path, dir.path() + "/applications/app.desktop");
    const std::string text = ReadAll(result.written[0].path);
    const std::size_t icon = text.find("Icon=app\n");
    ASSERT_NE(icon, std::string::npos) << text;
    EXPECT_EQ(text.substr(0, icon), "[Desktop Entry]\nType=Application\n" + c.lines);
    const std::string report = dir.path() + "/report";
    const int status = std::system(("desktop-file-validate " + result.written[0].path + " >" + report + " 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(report);
    EXPECT_EQ(ReadAll(report), "");
}

const std::string kZh = "\xE6\xB3\xA8\xE5\x86\x8C\xE8\xA1\xA8\xE7\xBC\x96\xE8\xBE\x91\xE5\x99\xA8";  // 注册表编辑器
const std::string kDir = "/opt/\xE7\xA8\x8B\xE5\xBA\x8F";                                              // /opt/程序

INSTANTIATE_TEST_SUITE_P(
    Entries, DesktopEntryTest,
    testing::ValuesIn(std::vector<EntryCase>{
        {"spaces_and_the_file_name", "/opt/My Apps/Big Tool.exe", std::nullopt,
         "Name=Big Tool\nExec=wine \"/opt/My Apps/Big Tool.exe\"\nPath=/opt/My Apps\n"},
        {"percent_doubled", "/w/100%.exe", std::nullopt, "Name=100%\nExec=wine \"/w/100%%.exe\"\nPath=/w\n"},
        {"quotes_and_backquotes", "/w/say \"hi\" `x`.exe", std::nullopt,
         "Name=say \"hi\" `x`\nExec=wine \"/w/say \\\\\"hi\\\\\" \\\\`x\\\\`.exe\"\nPath=/w\n"},
        {"backslash_four_times", "/w/a\\b/c.exe", std::nullopt,
         "Name=c\nExec=wine \"/w/a\\\\\\\\b/c.exe\"\nPath=/w/a\\\\b\n"},
        {"dollar", "/w/$HOME.exe", std::nullopt, "Name=$HOME\nExec=wine \"/w/\\\\$HOME.exe\"\nPath=/w\n"},
        {"english_and_chinese_descriptions", kDir + "/regedit.exe",
         Strings({{0x804, 1200, {{"FileDescription", kZh}}},
                  {0x409, 1200, {{"FileDescription", "Wine Registry Editor"}, {"ProductName", "Wine"}}}}),
         "Name=Wine Registry Editor\nName[zh_CN]=" + kZh + "\nExec=wine \"" + kDir + "/regedit.exe\"\nPath=" + kDir +
             "\n"},
        {"product_name_when_no_description", "/w/p.exe",
         Strings({{0x409, 1200, {{"FileDescription", "  "}, {"ProductName", "Solitaire Game"}}}}),
         "Name=Solitaire Game\nExec=wine \"/w/p.exe\"\nPath=/w\n"},
        {"chinese_description_alone_is_the_comment", "/w/r.exe", Strings({{0x804, 936, {{"FileDescription", kZh}}}}),
         "Name=r\nName[zh_CN]=" + kZh + "\nComment=" + kZh + "\nExec=wine \"/w/r.exe\"\nPath=/w\n"},
    }),
    [](const auto& info) { return std::string(info.param.name); });

// The lines after Icon=: the window's class and the category.
TEST(DesktopEntryText, ClassAndCategory) {
    const TempDir dir;
    const auto game = Strings({{0x409, 1200, {{"ProductName", "Solitaire Game"}}}});
    for (const auto& [version, tail] : std::vector<std::pair<std::optional<icons::VersionInfo>, std::string>>{
             {std::nullopt, "StartupWMClass=a\\\\b.exe\nCategories=Utility;X-Wine;\n"},
             {game, "StartupWMClass=a\\\\b.exe\nCategories=Game;X-Wine;\n"}}) {
        const auto result = platform::WriteDesktopEntry(dir.path(), "app", "/w/a\\b.exe", version);
        ASSERT_TRUE(result.ok());
        const std::string text = ReadAll(result.written[0].path);
        EXPECT_EQ(text.substr(text.find("Icon=app\n") + 9), tail);
    }
}

TEST(InstallIconSet, WritesTheSetAndRefreshesAThemesCache) {
    using icon_files::MakeIco;
    using icon_files::MakeDib;
    const icon_files::Bytes ico = MakeIco({{24, 24, 0, 1, 32, MakeDib(icon_files::SolidDib(24, 24, 32, pixels::MakeArgb(1, 2, 3)))}});
    const auto source = icon_tests::Source(ico);
    const icons::IconFile file(source);
    for (const bool themed : {false, true}) {
        SCOPED_TRACE(themed);
        const TempDir dir;
        const std::string theme = dir.path() + "/hicolor";
        std::filesystem::create_directories(theme + "/16x16/apps");
        if (themed) std::ofstream(theme + "/index.theme") << "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps\n\n"
                                                          << "[16x16/apps]\nSize=16\nType=Fixed\n";
        std::ofstream(theme + "/16x16/apps/x.png") << "an older icon, replaced whole";
        const auto result = platform::InstallIconSet(file, 0, theme, "x");
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.written.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const int size = std::vector{16, 22, 24}[i];
            const std::string side = std::to_string(size);
            EXPECT_EQ(result.written[i].size, size);
            EXPECT_EQ(result.written[i].path, theme + "/" + side + "x" + side + "/apps/x.png");
            EXPECT_EQ(ReadAll(result.written[i].path).substr(1, 3), "PNG");
        }
        EXPECT_EQ(std::filesystem::exists(theme + "/icon-theme.cache"), themed);
    }
    const TempDir dir;
    EXPECT_EQ(platform::InstallIconSet(file, 1, dir.path(), "x").failure, platform::LauncherFailure::NoIcon);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
