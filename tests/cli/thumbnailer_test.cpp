// tessel-thumbnailer: the image it draws, how it fits it, and the program's
// contract with the file manager that runs it.
#include <array>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "test_support.h"
#include "thumbnail.h"

namespace icon_tests {
namespace {

namespace icons = platform::icons;

struct ChoiceCase {
    const char* name;
    std::vector<std::array<int, 3>> images;  // width, height, depth, in group order
    int size;
    int chosen;
};

const ChoiceCase kChoices[] = {
    {"ExactSizeBeforeLarger", {{256, 256, 32}, {48, 48, 32}, {16, 16, 32}}, 48, 1},
    {"SmallestOfThoseThatReach", {{256, 256, 32}, {64, 64, 32}, {128, 128, 32}}, 48, 1},
    {"BothSidesMustReach", {{64, 32, 32}, {48, 48, 32}}, 40, 1},
    {"SmallerBeforeDeeper", {{64, 64, 32}, {48, 48, 4}}, 48, 1},
    {"DeepestOfEqualSizes", {{48, 48, 4}, {48, 48, 32}, {48, 48, 8}}, 48, 1},
    {"FirstOfEquals", {{48, 48, 32}, {48, 48, 32}}, 48, 0},
    {"LargestWhenNoneReaches", {{16, 16, 32}, {32, 32, 4}, {24, 24, 32}}, 256, 1},
    {"DeepestLargestWhenNoneReaches", {{32, 32, 4}, {32, 32, 32}}, 256, 1},
    {"NoImages", {}, 48, -1},
};

class ThumbnailChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ThumbnailChoice, PicksAsExplorerDoes) {
    icons::IconDescription icon;
    for (const auto& [w, h, depth] : GetParam().images) icon.images.push_back({w, h, depth, false, 0});
    EXPECT_EQ(cli::ChooseThumbnailImage(icon, GetParam().size), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThumbnailChoice, testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbnailFit, KeepsTheAspectAndNeverEnlarges) {
    EXPECT_EQ(cli::FitWithin(64, 32, 16), std::make_pair(16, 8));
    EXPECT_EQ(cli::FitWithin(32, 64, 16), std::make_pair(8, 16));
    EXPECT_EQ(cli::FitWithin(16, 16, 48), std::make_pair(16, 16));
    EXPECT_EQ(cli::FitWithin(1024, 1, 256), std::make_pair(256, 1));
    EXPECT_EQ(cli::FitWithin(1024, 1024, 1), std::make_pair(1, 1));
}

TEST(Thumbnail, ScalesDownAndKeepsTransparency) {
    // Left half transparent, right half opaque blue.
    std::vector<Argb> pixels(64 * 32);
    for (int i = 0; i < 64 * 32; ++i) pixels[i] = i % 64 < 32 ? 0 : MakeArgb(0, 0, 255);
    const Bytes file = icon_files::MakeIco({{64, 32, 0, 1, 32, icon_files::MakePng(64, 32, pixels)}});
    const cli::Thumbnail t = cli::MakeThumbnail(Source(file), 16);
    ASSERT_TRUE(t.image);
    ASSERT_EQ(std::make_pair(t.image->width, t.image->height), std::make_pair(16, 8));
    EXPECT_EQ(t.image->pixels[4 * 16 + 2], 0u);
    EXPECT_EQ(t.image->pixels[4 * 16 + 13], MakeArgb(0, 0, 255));
}

struct RunCase {
    const char* name;
    std::string args;  // OUT stands for the output file in the test's folder
    int status;
    int side;  // of the PNG written; 0: no file may be left
};

std::vector<RunCase> RunCases() {
    const std::string fx = std::string(TESSEL_ICON_FIXTURES) + "/";
    return {
        {"ScaledDown", "-s 16 " + fx + "mixed.ico OUT", 0, 16},
        {"NeverEnlarged", "-s 256 " + fx + "app64.exe OUT", 0, 32},
        {"Library", "-s 32 " + fx + "lib32.dll OUT", 0, 32},
        {"Cursor", "-s 48 " + fx + "pointer.cur OUT", 0, 32},
        {"NoIcon", "-s 48 " + fx + "plain64.exe OUT", 1, 0},
        {"Missing", "-s 48 " + fx + "none.exe OUT", 1, 0},
        {"Folder", "-s 48 " + fx + " OUT", 1, 0},
        {"NoSize", fx + "app64.exe OUT", 2, 0},
        {"ZeroSize", "-s 0 " + fx + "app64.exe OUT", 2, 0},
    };
}

class ThumbnailerRun : public testing::TestWithParam<RunCase> {};

TEST_P(ThumbnailerRun, WritesAPngOrNothingAndSaysWhy) {
    const RunCase& c = GetParam();
    TempDir dir;
    std::string args = c.args;
    args.replace(args.find("OUT"), 3, dir.path() + "/out.png");
    const int raw = std::system((std::string(TESSEL_THUMBNAILER) + " " + args + " 2>" + dir.path() + "/err").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
    std::ifstream err(dir.path() + "/err");
    std::string line;
    int lines = 0;
    while (std::getline(err, line)) ++lines;
    EXPECT_EQ(lines, c.status == 0 ? 0 : 1);
    // Width and height are IHDR's big-endian words at bytes 16 and 20.
    std::ifstream png(dir.path() + "/out.png", std::ios::binary);
    unsigned char head[24] = {};
    png.read(reinterpret_cast<char*>(head), sizeof head);
    const auto word = [&](int at) { return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3]; };
    EXPECT_EQ(png ? std::make_pair(word(16), word(20)) : std::make_pair(0, 0), std::make_pair(c.side, c.side));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), c.side ? 2 : 1)
        << "nothing but the output and the error text is left behind";
}

INSTANTIATE_TEST_SUITE_P(Runs, ThumbnailerRun, testing::ValuesIn(RunCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace icon_tests
