#include "test_support.h"

namespace icon_tests {
namespace {

using icons::DrawIcon;
using icons::Icon;

struct PixelCase {
    const char* name;
    bool blended;
    Argb colour;
    std::uint8_t mask;
    Argb background;
    Argb expected;
};

const Argb kWhite = MakeArgb(255, 255, 255), kBack = MakeArgb(0x12, 0x80, 0xF0);

const PixelCase kPixels[] = {
    {"painted", false, MakeArgb(1, 2, 3), 0, kBack, MakeArgb(1, 2, 3)},
    {"painted_black", false, MakeArgb(0, 0, 0), 0, kBack, MakeArgb(0, 0, 0)},
    {"transparent", false, MakeArgb(0, 0, 0), 1, kBack, kBack},
    {"inverted", false, kWhite, 1, kBack, MakeArgb(0xED, 0x7F, 0x0F)},
    {"xor_colour_on_background", false, MakeArgb(0x0F, 0x0F, 0x0F), 1, kBack, MakeArgb(0x1D, 0x8F, 0xFF)},
    {"alpha_ignored_when_masked", false, MakeArgb(9, 9, 9, 0), 0, kBack, MakeArgb(9, 9, 9)},
    {"blended_opaque", true, MakeArgb(1, 2, 3, 255), 1, kBack, MakeArgb(1, 2, 3)},
    {"blended_clear_ignores_mask", true, MakeArgb(1, 2, 3, 0), 0, kBack, kBack},
    {"blended_half", true, MakeArgb(255, 0, 0, 128), 0, kWhite, MakeArgb(255, 127, 127)},
};

class DrawPixelTest : public testing::TestWithParam<PixelCase> {};

TEST_P(DrawPixelTest, CombinesWithTheBackgroundAsUser32Does) {
    const PixelCase& c = GetParam();
    Icon icon;
    icon.blended = c.blended;
    icon.color.assign(32 * 32, c.colour);
    icon.mask.assign(32 * 32, c.mask);
    const pixels::Bitmap cell = Drawn(icon, c.background);
    EXPECT_EQ(cell.at(0, 0), c.expected);
    EXPECT_EQ(cell.at(31, 31), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pixels, DrawPixelTest, testing::ValuesIn(kPixels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawIcon, ClipsToTheTarget) {
    struct Case {
        const char* name;
        int x, y;
        int painted;  // pixels of the 40x40 target that change
    } cases[] = {{"inside", 4, 4, 1024}, {"left_top_out", -16, -8, 16 * 24}, {"right_bottom_out", 30, 39, 10 * 1},
                 {"far_away", 1 << 30, -(1 << 30), 0}, {"int_min", -2147483647 - 1, 0, 0}};
    Icon icon;
    icon.color.assign(32 * 32, MakeArgb(1, 1, 1));
    icon.mask.assign(32 * 32, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pixels::Bitmap target(40, 40, kWhite);
        DrawIcon(target, c.x, c.y, icon);
        EXPECT_EQ(std::count(target.pixels.begin(), target.pixels.end(), MakeArgb(1, 1, 1)), c.painted);
    }
}

TEST(DrawIcon, IgnoresAnIconWithoutItsPixels) {
    Icon icon;
    icon.color.assign(10, MakeArgb(1, 1, 1));
    pixels::Bitmap target(32, 32, kWhite);
    DrawIcon(target, 0, 0, icon);
    EXPECT_EQ(target, pixels::Bitmap(32, 32, kWhite));
}

}  // namespace
}  // namespace icon_tests
