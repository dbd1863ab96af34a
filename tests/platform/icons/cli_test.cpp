// tessel-iconinfo run as a user runs it: output lines, exit status, exported pictures.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "platform/icons/image_decoder.h"
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
    return {
        {"counts", app + " " + plain + " " + cur, 0, "3\t" + app + "\n0\t" + plain + "\n1\t" + cur + "\n", ""},
        {"missing_file", app + " /nonexistent/x.exe " + cur, 1, "3\t" + app + "\n1\t" + cur + "\n", "/nonexistent/x.exe"},
        {"folder", std::string(TESSEL_ICON_FIXTURES), 1, "", TESSEL_ICON_FIXTURES},
        {"no_files", "", 2, "", "usage"},
        {"export_without_folder", "--export", 2, "", "usage"},
        {"unknown_option", "--frobnicate " + app, 2, "", "--frobnicate"},
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
        const platform::icons::FileSource png(folder + "/" + e.file);
        ASSERT_TRUE(png.ok());
        const auto image = platform::icons::DecodePng(png, {0, png.size()});
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, 32);
        EXPECT_EQ(image->height, 32);
        EXPECT_EQ(image->color.at(0), e.at00);
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/app64.exe.3.png"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/plain64.exe.0.png"));
}

}  // namespace
}  // namespace icon_tests
