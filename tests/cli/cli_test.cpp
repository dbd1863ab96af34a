// tessel-iconinfo run as a user runs it: output lines, exit status, exported pictures.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "icons/image_decoder.h"
#include "icons/whole_icon.h"
#include "test_support.h"

namespace icon_tests {
namespace {

std::string Fixture(const std::string& name) { return std::string(TESSEL_ICON_FIXTURES) + "/" + name; }

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const TempDir& dir, const std::string& args) {
    const std::string out = dir.path() + "/stdout", err = dir.path() + "/stderr";
    const int raw = std::system((std::string(TESSEL_ICONINFO) + " " + args + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
}

struct CliCase {
    const char* name;
    std::string args;
    int status;
    std::string out;
    std::string errMentions;  // empty: stderr must be empty
};

std::vector<CliCase> CliCases() {
    const std::string app = Fixture("app64.exe"), plain = Fixture("plain64.exe"), cur = Fixture("pointer.cur");
    std::string nine;  // one replacement character for each byte that starts no UTF-8 sequence
    for (int i = 0; i < 9; ++i) nine += "\\ufffd";
    return {
        {"counts", app + " " + plain + " " + cur, 0, "3\t" + app + "\n0\t" + plain + "\n1\t" + cur + "\n", ""},
        {"missing_file", app + " /nonexistent/x.exe " + cur, 1, "3\t" + app + "\n1\t" + cur + "\n", "/nonexistent/x.exe"},
        {"folder", std::string(TESSEL_ICON_FIXTURES), 1, "", TESSEL_ICON_FIXTURES},
        {"no_files", "", 2, "", "usage"},
        {"export_without_folder", "--export", 2, "", "usage"},
        {"unknown_option", "--frobnicate " + app, 2, "", "--frobnicate"},
        {"size_below_range", "--size 15 " + app, 2, "", "--size"},
        {"size_not_a_number", "--size 4x " + app, 2, "", "--size"},
        {"size_missing", "--export /tmp --size", 2, "", "--size"},
        {"images_without_folder", "--list --images", 2, "", "usage"},
        {"folder_cannot_be_made", "--save-ico /proc/tessel " + cur, 1, "", "/proc/tessel"},
        // An icon set or a menu entry: nothing written for a file that cannot give one.
        {"hicolor_no_icons", "--hicolor /proc/tessel " + plain, 1, "", "no icon in"},
        {"hicolor_index_past_last", "--hicolor /proc/tessel --index 3 " + app, 1, "", "the last is 2"},
        {"desktop_entry_of_no_program", "--desktop-entry /proc/tessel " + cur, 1, "", "no Windows program"},
        {"name_with_slash", "--hicolor /tmp --name a/b " + app, 2, "", "'/'"},
        {"name_hidden", "--hicolor /tmp --name .a " + app, 2, "", "'.'"},
        {"name_alone", "--name a " + app, 2, "", "--hicolor"},
        {"index_with_entry_only", "--desktop-entry /tmp --index 0 " + app, 2, "", "--index"},
        {"hicolor_two_files", "--hicolor /tmp " + app + " " + cur, 2, "", "one FILE"},
        {"hicolor_with_cursors", "--hicolor /tmp --cursors " + app, 2, "", "--cursors"},
        {"json_alone", "--json " + plain, 0, "{\"files\":[{\"path\":\"" + plain + "\",\"count\":0,\"icons\":[]}]}\n", ""},
        // A name that is no UTF-8 (a lead byte past F4, an encoded surrogate, an
        // overlong form) still gives valid JSON; good UTF-8 passes as it is.
        {"json_bytes_no_utf8", "--json '/none/\xF8\x80\x80\xED\xA0\x80\xE0\x80\x80\xC3\xA9'", 1,
         "{\"files\":[{\"path\":\"/none/" + nine + "\xC3\xA9\",\"error\":\"No such file or directory\"}]}\n",
         "/none/"},
    };
}

class CliTest : public testing::TestWithParam<CliCase> {};

TEST_P(CliTest, PrintsCountsAndExitsAsDocumented) {
    const CliCase& c = GetParam();
    TempDir dir;
    const ToolRun r = RunTool(dir, c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (c.errMentions.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.errMentions), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, CliTest, testing::ValuesIn(CliCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliExport, WritesEachIconAsTheCellImage) {
    TempDir dir;
    const std::string folder = dir.path() + "/icons";
    const ToolRun r = RunTool(dir, "--export " + folder + " " + Fixture("app64.exe") + " " + Fixture("plain64.exe"));
    ASSERT_EQ(r.status, 0) << r.err;
    struct Expect {
        const char* file;
        Argb at00;
    } expected[] = {{"app64.exe.0.png", MakeArgb(127, 255, 127)}, {"app64.exe.1.png", MakeArgb(0, 0, 255)}, {"app64.exe.2.png", MakeArgb(0, 0, 0)}};
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.file);
        const icons::FileSource png(folder + "/" + e.file);
        ASSERT_TRUE(png.ok());
        const auto image = icons::DecodePng(png, {0, png.size()});
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, 32);
        EXPECT_EQ(image->height, 32);
        EXPECT_EQ(image->color.at(0), e.at00);
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/app64.exe.3.png"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/plain64.exe.0.png"));
}

// --size draws by the one chooser: what the window's cells of that size show, on white.
TEST(CliExport, DrawsEachIconAtTheSizeAsked) {
    TempDir dir;
    for (const int size : {48, 256}) {
        SCOPED_TRACE(size);
        const std::string folder = dir.path() + "/" + std::to_string(size);
        const ToolRun r = RunTool(dir, "--export " + folder + " --size " + std::to_string(size) + " " + Fixture("mixed.ico"));
        ASSERT_EQ(r.status, 0) << r.err;
        const icons::FileSource png(folder + "/mixed.ico.0.png");
        const auto image = icons::DecodePng(png, {0, png.size()});
        ASSERT_TRUE(image.has_value());
        pixels::Bitmap cell(size, size, MakeArgb(255, 255, 255));
        icons::DrawIcon(cell, 0, 0, icons::ExtractIconFromFile(Fixture("mixed.ico"), 0, size).value());
        EXPECT_EQ(image->color, cell.pixels);
    }
}

// Every option in one run: the counts as before, one listing line per icon, and
// files that read back as the icons they came from.
TEST(CliWholeIcon, SavesListsAndWritesImagesInOneRun) {
    TempDir dir;
    const std::string out = dir.path() + "/out";
    std::filesystem::create_directories(out + "/pointer.cur.0.cur");  // in the way: that write fails
    const std::string app = Fixture("app64.exe"), ico = Fixture("mixed.ico"), cur = Fixture("pointer.cur");
    const ToolRun r = RunTool(dir, "--save-ico " + out + " --images " + out + " --list " + app + " " + ico + " " + cur);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("pointer.cur.0.cur"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(out + "/pointer.cur.0.cur"));
    EXPECT_EQ(r.out.rfind("3\t" + app + "\n\t0\tMAINICON\t32x32 4-bit DIB 744 bytes, ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n1\t" + ico + "\n\t0\tmixed.ico\t256x256 32-bit PNG"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[inverted"), std::string::npos);
    EXPECT_EQ(ReadAll(out + "/mixed.ico.0.ico"), ReadAll(ico));

    const icons::FileSource appFile(app);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const icons::FileSource saved(out + "/app64.exe." + std::to_string(i) + ".ico");
        const auto before = icons::DescribeIcon(appFile, i);
        const auto after = icons::DescribeIcon(saved, 0);
        ASSERT_TRUE(before && after);
        ASSERT_EQ(after->images.size(), before->images.size());
        for (std::size_t k = 0; k < before->images.size(); ++k) {
            const icons::FileSource png(out + "/app64.exe." + std::to_string(i) + "-" + std::to_string(k) + ".png");
            const auto written = icons::DecodePng(png, {0, png.size()});
            const auto expected = icons::DecodeIconImage(appFile, i, static_cast<int>(k));
            ASSERT_TRUE(written && expected);
            EXPECT_EQ(written->color, expected->pixels);
            EXPECT_EQ(after->images[k].bytes, before->images[k].bytes);
        }
    }
}

// A program's cursor groups only with --cursors: after its icons, saved as .cur files with their hotspots.
TEST(CliCursors, CountsListsAndSavesCursorGroupsWhenAsked) {
    TempDir dir;
    const std::vector<icon_files::GroupImage> arrow = {{2, 32, 32, 1, icon_files::MakeDib(icon_files::SolidDib(32, 32, 1, 0)), 5, 9}};
    icon_files::PeSpec spec;
    spec.resources = icon_files::IconResources({{{1, {}}, {{1, 32, 32, 1, icon_files::MakeDib(icon_files::SolidDib(32, 32, 1, 0))}}}});
    for (auto& r : icon_files::CursorResources({{{0, u"ARROW"}, arrow}})) spec.resources.push_back(r);
    const std::string prog = dir.path() + "/prog.dll", out = dir.path() + "/out";
    const Bytes bytes = icon_files::MakePe(spec).bytes;
    std::ofstream(prog, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    EXPECT_EQ(RunTool(dir, prog).out, "1\t" + prog + "\n");
    const ToolRun r = RunTool(dir, "--cursors --json --save-ico " + out + " " + prog);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"count\":2,\"icons\":[{\"index\":0,\"name\":\"1\",\"cursor\":false"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"index\":1,\"name\":\"ARROW\",\"cursor\":true"), std::string::npos) << r.out;
    const Bytes expected = icon_files::CursorFileOf(arrow);
    EXPECT_EQ(ReadAll(out + "/prog.dll.1.cur"), std::string(expected.begin(), expected.end()));
}

// The set and the entry in one run, under one name, listed as written.
TEST(CliLauncher, WritesTheSetAndTheEntryUnderOneName) {
    TempDir dir;
    const std::string theme = dir.path() + "/hicolor", apps = dir.path() + "/applications";
    const ToolRun r = RunTool(dir, "--json --hicolor " + theme + " --desktop-entry " + apps + " --index 1 " + Fixture("app64.exe"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[{\"size\":16,\"path\":\"" + theme + "/16x16/apps/app64.png\"},{\"size\":22,\"path\":\"" + theme +
                         "/22x22/apps/app64.png\"},{\"size\":24,\"path\":\"" + theme + "/24x24/apps/app64.png\"},{\"size\":32,\"path\":\"" +
                         theme + "/32x32/apps/app64.png\"},{\"size\":48,\"path\":\"" + theme +
                         "/48x48/apps/app64.png\"},{\"size\":null,\"path\":\"" + apps + "/app64.desktop\"}]\n");
    EXPECT_NE(ReadAll(apps + "/app64.desktop").find("\nIcon=app64\n"), std::string::npos);
}

// A program's version resource: one line after its count with --list, a
// "version" object with --json, nothing for a file without one.
struct VersionCliCase {
    const char* name;
    std::optional<icon_files::VersionSpec> version;  // nullopt: no version resource
    std::string line;                                // --list's line; "" for none
    std::string json;                                // --json's object; "" for none
};
void PrintTo(const VersionCliCase& c, std::ostream* os) { *os << c.name; }

std::vector<VersionCliCase> VersionCliCases() {
    icon_files::VersionSpec productOnly;
    productOnly.fixedInfo = false;
    productOnly.tables = {{0x407, 1252, {{u"ProductName", u"Wein\tKeller"}}}};
    icon_files::VersionSpec nothing;
    nothing.fixedInfo = false;
    return {
        {"english_and_chinese", icon_files::TwoTableVersion(), "\tversion\tWine Registry Editor\tWine\t10.0.19041.1\n",
         "\"version\":{\"description\":\"Wine Registry Editor\",\"product\":\"Wine\",\"fileVersion\":\"10.0.19041.1\","
         "\"productVersion\":\"10.0.19041.0\"}"},
        // The first table when there is no English one; a tab in a value would split the line.
        {"product_only", productOnly, "\tversion\t\tWein Keller\t\n",
         "\"version\":{\"description\":null,\"product\":\"Wein\\u0009Keller\",\"fileVersion\":null,\"productVersion\":null}"},
        {"empty_resource", nothing, "\tversion\t\t\t\n",
         "\"version\":{\"description\":null,\"product\":null,\"fileVersion\":null,\"productVersion\":null}"},
        {"no_version_resource", std::nullopt, "", ""},
    };
}

class CliVersion : public testing::TestWithParam<VersionCliCase> {};

TEST_P(CliVersion, ListAndJsonTellTheProgram) {
    const VersionCliCase& c = GetParam();
    TempDir dir;
    icon_files::PeSpec spec;
    spec.resources = icon_files::IconResources({{{1, {}}, {{1, 16, 16, 32, icon_files::MakeDib(icon_files::SolidDib(16, 16, 32, 0xFF0000FF))}}}});
    if (c.version) spec.resources.push_back(icon_files::VersionResource(icon_files::MakeVersionResource(*c.version)));
    const std::string exe = dir.file("prog.exe", icon_files::MakePe(spec).bytes);
    const std::string cur = Fixture("pointer.cur");

    const ToolRun list = RunTool(dir, "--list " + exe + " " + cur);
    ASSERT_EQ(list.status, 0) << list.err;
    const std::string listed = "1\t" + exe + "\n" + c.line;
    EXPECT_EQ(list.out.rfind(listed + "\t0\t1\t16x16 32-bit DIB", 0), 0u) << list.out;
    EXPECT_EQ(list.out.find("\tversion\t", listed.size()), std::string::npos) << "a cursor has none: " << list.out;

    const ToolRun json = RunTool(dir, "--json " + exe + " " + cur);
    ASSERT_EQ(json.status, 0) << json.err;
    const std::string head = "{\"files\":[{\"path\":\"" + exe + "\",\"count\":1," + (c.json.empty() ? "" : c.json + ",") + "\"icons\":[";
    EXPECT_EQ(json.out.rfind(head, 0), 0u) << json.out;
    EXPECT_EQ(json.out.find("\"version\"", head.size()), std::string::npos) << json.out;

    // Without --list or --json, only the count.
    EXPECT_EQ(RunTool(dir, exe).out, "1\t" + exe + "\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, CliVersion, testing::ValuesIn(VersionCliCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace icon_tests
