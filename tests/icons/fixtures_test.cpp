// Real files made by the MinGW resource compiler and linker (tools/make-icon-fixtures.sh).
#include "test_support.h"

namespace icon_tests {
namespace {

std::string Fixture(const char* name) { return std::string(TESSEL_ICON_FIXTURES) + "/" + name; }

struct FixtureCase {
    const char* file;
    int count;
    // Per icon: the pixels (x, y) drawn on white and what they must be.
    std::vector<std::vector<std::tuple<int, int, Argb>>> pixels;
};

const Argb kWhite = MakeArgb(255, 255, 255);

const FixtureCase kFixtures[] = {
    {"app64.exe", 3,
     {
         // 32x32x4 red listed before 32x32x32 half-transparent green: the 32-bit image wins.
         {{0, 0, MakeArgb(127, 255, 127)}, {31, 31, MakeArgb(127, 255, 127)}},
         // 16x16x8 yellow and 48x48x32 blue are both 16 away per side: the deeper one, stretched.
         {{0, 0, MakeArgb(0, 0, 255)}, {31, 31, MakeArgb(0, 0, 255)}},
         // 256x256 PNG magenta and 32x32 monochrome: the exact size wins; its left half inverts.
         {{3, 3, MakeArgb(0, 0, 0)}, {20, 3, MakeArgb(0, 0, 0)}, {20, 20, kWhite}},
     }},
    {"lib32.dll", 1, {{{0, 0, kWhite}, {1, 0, MakeArgb(0, 255, 255)}, {31, 31, MakeArgb(0, 255, 255)}}}},
    {"plain64.exe", 0, {}},
    {"mixed.ico", 1, {{{3, 3, MakeArgb(0, 0, 0)}, {20, 3, MakeArgb(0, 0, 0)}, {20, 20, kWhite}}}},
    {"pointer.cur", 1, {{{0, 0, kWhite}, {10, 10, MakeArgb(0, 0, 0)}}}},
};

class FixtureTest : public testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureTest, CountsAndDrawsAsWindowsDoes) {
    const FixtureCase& c = GetParam();
    const std::string path = Fixture(c.file);
    ASSERT_TRUE(icons::FileSource(path).ok()) << path;
    EXPECT_EQ(icons::CountIconsInFile(path), c.count);
    for (std::size_t i = 0; i < c.pixels.size(); ++i) {
        SCOPED_TRACE(i);
        const auto icon = icons::ExtractIconFromFile(path, static_cast<int>(i));
        ASSERT_TRUE(icon.has_value());
        const pixels::Bitmap cell = Drawn(*icon, kWhite);
        for (const auto& [x, y, expected] : c.pixels[i]) {
            EXPECT_EQ(cell.at(x, y), expected) << "at " << x << "," << y;
        }
    }
    EXPECT_FALSE(icons::ExtractIconFromFile(path, c.count).has_value());
}

INSTANTIATE_TEST_SUITE_P(Files, FixtureTest, testing::ValuesIn(kFixtures), [](const auto& info) {
    std::string n = info.param.file;
    for (char& ch : n)
        if (ch == '.') ch = '_';
    return n;
});

}  // namespace
}  // namespace icon_tests
