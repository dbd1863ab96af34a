#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/units.h"

namespace {

using platform::Failure;

struct RoundCase {
    const char* name;
    double in;
    std::int32_t out;
};

// Every rounding the window does takes halves to the even neighbour.
const RoundCase kRoundCases[] = {
    {"grid_half_down_to_even", 3532.5, 3532},
    {"two_and_a_half", 2.5, 2},
    {"minus_two_and_a_half", -2.5, -2},
    {"three_and_a_half_up_to_even", 3.5, 4},
    {"minus_three_and_a_half", -3.5, -4},
    {"half", 0.5, 0},
    {"minus_half", -0.5, 0},
    {"one_and_a_half", 1.5, 2},
    {"just_below_half", 2.4999, 2},
    {"just_above_half", 2.5001, 3},
    {"whole", 480.0, 480},
};

TEST(Units, ToInt32RoundsHalvesToEven) {
    for (const auto& c : kRoundCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::ToInt32(c.in), c.out);
    }
}

TEST(Units, ToInt16RoundsHalvesToEven) {
    for (const auto& c : kRoundCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::ToInt16(c.in), c.out);
    }
}

struct LimitCase {
    const char* name;
    double in;
    bool fits;
    double out;  // the result when it fits
};

TEST(Units, ToInt16Limits) {
    const LimitCase cases[] = {
        {"max", 32767.0, true, 32767},
        {"max_plus_one", 32768.0, false, 0},
        {"max_plus_half_rounds_to_even_overflow", 32767.5, false, 0},
        {"max_plus_0_4", 32767.4, true, 32767},
        {"min", -32768.0, true, -32768},
        {"min_minus_one", -32769.0, false, 0},
        {"min_minus_half_rounds_to_even_min", -32768.5, true, -32768},
        {"min_minus_0_6", -32768.6, false, 0},
        {"nan", std::nan(""), false, 0},
        {"infinity", std::numeric_limits<double>::infinity(), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fits)
            EXPECT_EQ(platform::ToInt16(c.in), c.out);
        else
            EXPECT_THROW(platform::ToInt16(c.in), Failure);
    }
}

TEST(Units, ToInt32Limits) {
    const LimitCase cases[] = {
        {"max", 2147483647.0, true, 2147483647.0},
        {"max_plus_one", 2147483648.0, false, 0},
        {"max_plus_half_rounds_up_to_even_overflow", 2147483647.5, false, 0},
        {"min", -2147483648.0, true, -2147483648.0},
        {"min_minus_half_rounds_to_even_min", -2147483648.5, true, -2147483648.0},
        {"min_minus_one", -2147483649.0, false, 0},
        {"nan", std::nan(""), false, 0},
        {"minus_infinity", -std::numeric_limits<double>::infinity(), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fits)
            EXPECT_EQ(platform::ToInt32(c.in), c.out);
        else
            EXPECT_THROW(platform::ToInt32(c.in), Failure);
    }
}

TEST(Units, TwipsPerPixelFollowsTheScreen) {
    const struct {
        const char* name;
        double dpi;
        double twips;
    } cases[] = {{"96_dpi", 96, 15}, {"120_dpi", 120, 12}, {"144_dpi", 144, 10}, {"72_dpi", 72, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScreenScale s{c.dpi, c.dpi};
        EXPECT_DOUBLE_EQ(s.twipsPerPixelX(), c.twips);
        EXPECT_DOUBLE_EQ(s.twipsPerPixelY(), c.twips);
    }
}

}  // namespace
