#include "icons/stretch.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icons::Icon;
using icons::StretchIcon;

Icon Make(int w, int h, bool blended, const std::function<Argb(int, int)>& colour,
          const std::function<std::uint8_t(int, int)>& mask = [](int, int) { return std::uint8_t{0}; }) {
    Icon icon;
    icon.width = w;
    icon.height = h;
    icon.blended = blended;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            icon.color.push_back(colour(x, y));
            icon.mask.push_back(mask(x, y));
        }
    return icon;
}

struct SizeCase {
    const char* name;
    int width;
    int height;
};

const SizeCase kSizes[] = {{"s1x1", 1, 1},   {"s16", 16, 16},   {"s24", 24, 24},     {"s48", 48, 48},
                           {"s76x24", 76, 24}, {"s24x76", 24, 76}, {"s256", 256, 256}, {"s1024x3", 1024, 3}};

class StretchSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(StretchSizeTest, SolidStaysSolidAndFillsTheCell) {
    const auto [name, w, h] = GetParam();
    const Argb tone = MakeArgb(200, 40, 90);
    const Icon masked = StretchIcon(Make(w, h, false, [&](int, int) { return tone; }, [](int x, int) { return std::uint8_t(x < 0); }), 32, 32);
    ASSERT_EQ(masked.color.size(), 32u * 32u);
    EXPECT_EQ(masked.color, std::vector<Argb>(32 * 32, tone));
    EXPECT_EQ(masked.mask, std::vector<std::uint8_t>(32 * 32, 0));

    const Argb seeThrough = MakeArgb(10, 250, 30, 77);
    const Icon blended = StretchIcon(Make(w, h, true, [&](int, int) { return seeThrough; }), 32, 32);
    EXPECT_TRUE(blended.blended);
    EXPECT_EQ(blended.color, std::vector<Argb>(32 * 32, seeThrough));
}

INSTANTIATE_TEST_SUITE_P(Sizes, StretchSizeTest, testing::ValuesIn(kSizes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stretch, ReductionAveragesInsteadOfSampling) {
    const Icon checker = Make(64, 64, false, [](int x, int y) {
        return (x + y) % 2 ? MakeArgb(255, 255, 255) : MakeArgb(0, 0, 0);
    });
    const Icon out = StretchIcon(checker, 32, 32);
    for (int y = 2; y < 30; ++y)
        for (int x = 2; x < 30; ++x) {
            const Argb c = out.color[static_cast<std::size_t>(y) * 32 + x];
            EXPECT_NEAR(pixels::RedOf(c), 128, 1) << x << "," << y;
        }
}

TEST(Stretch, WideIconIsStretchedWithoutKeepingAspect) {
    const Argb red = MakeArgb(255, 0, 0), blue = MakeArgb(0, 0, 255);
    const Icon wide = Make(76, 24, false, [&](int x, int) { return x < 38 ? red : blue; },
                           [](int x, int) { return std::uint8_t(x < 38); });
    const Icon out = StretchIcon(wide, 32, 32);
    for (int y : {0, 15, 31}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(out.color[static_cast<std::size_t>(y) * 32], red);
        EXPECT_EQ(out.color[static_cast<std::size_t>(y) * 32 + 31], blue);
        EXPECT_EQ(out.mask[static_cast<std::size_t>(y) * 32 + 2], 1);
        EXPECT_EQ(out.mask[static_cast<std::size_t>(y) * 32 + 29], 0);
    }
}

TEST(Stretch, TransparentPixelsLendNoColour) {
    const Icon two = Make(2, 1, true, [](int x, int) { return x == 0 ? MakeArgb(255, 0, 0, 255) : MakeArgb(0, 255, 0, 0); });
    const Icon out = StretchIcon(two, 32, 32);
    int partial = 0;
    for (Argb c : out.color) {
        if (pixels::AlphaOf(c) == 0) continue;
        EXPECT_EQ(pixels::GreenOf(c), 0);
        EXPECT_EQ(pixels::RedOf(c), 255);
        partial += pixels::AlphaOf(c) < 255;
    }
    EXPECT_GT(partial, 0);  // the edge is smooth, not a hard cut
}

}  // namespace
}  // namespace icon_tests
