#include <vector>

#include <gtest/gtest.h>

#include "icons/chooser.h"

namespace {

using icons::Candidate;
using icons::ChooseImage;

struct ChoiceCase {
    const char* name;
    std::vector<Candidate> candidates;
    int expected;
    int size = 32;
};

const ChoiceCase kChoices[] = {
    {"empty", {}, -1},
    {"exact_size_beats_better_depth", {{16, 16, 32}, {32, 32, 4}, {48, 48, 32}}, 1},
    {"nearest_size_when_none_fits", {{16, 16, 32}, {48, 48, 32}, {24, 24, 8}}, 2},
    {"equal_distance_first_listed_fixes_size", {{48, 48, 32}, {16, 16, 32}}, 0},
    {"deeper_image_listed_later_wins", {{32, 32, 4}, {32, 32, 32}}, 1},
    {"depth_nearest_32", {{32, 32, 8}, {32, 32, 24}, {32, 32, 64}}, 1},
    {"depth_tie_first_listed", {{32, 32, 24}, {32, 32, 40}}, 0},
    // 48x32 and 40x40 are both 16 away but differ per axis; only the first's shape competes on depth.
    {"size_difference_is_per_axis", {{48, 32, 8}, {40, 40, 32}, {48, 32, 24}}, 2},
    // The same per-axis difference on the other side of 32 still counts as that size.
    {"mirror_size_competes", {{40, 40, 8}, {24, 24, 32}}, 1},
    {"huge_png", {{1024, 1024, 32}, {256, 256, 32}}, 1},
    // The standard size keeps the loader's nearest-size rule: a smaller image beats a larger
    // one nearer in pixels, where any other size takes the smallest that reaches it.
    {"standard_size_takes_nearest", {{24, 24, 32}, {48, 48, 32}}, 0},
    {"other_size_takes_one_that_reaches", {{24, 24, 32}, {48, 48, 32}}, 1, 31},
    {"exact_size_before_larger", {{256, 256, 32}, {48, 48, 32}, {16, 16, 32}}, 1, 48},
    {"exact_size_before_deeper_larger", {{64, 64, 32}, {48, 48, 4}}, 1, 48},
    {"deepest_exact_size", {{48, 48, 4}, {48, 48, 32}, {48, 48, 8}}, 1, 48},
    {"exact_depth_tie_first_listed", {{64, 64, 8}, {64, 64, 8}}, 0, 64},
    {"smallest_of_those_that_reach", {{256, 256, 32}, {64, 64, 32}, {128, 128, 32}}, 1, 48},
    {"both_sides_must_reach", {{64, 32, 32}, {48, 48, 32}}, 1, 40},
    {"deeper_of_equal_larger", {{128, 128, 8}, {128, 128, 32}}, 1, 96},
    {"largest_when_none_reaches", {{16, 16, 32}, {32, 32, 4}, {24, 24, 32}}, 1, 256},
    {"deepest_largest_when_none_reaches", {{32, 32, 4}, {32, 32, 32}}, 1, 256},
    {"largest_size_takes_largest", {{256, 256, 32}, {1024, 1024, 8}, {1024, 1024, 32}}, 2, 1024},
    {"empty_at_other_size", {}, -1, 64},
};

class ChooserTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooserTest, PicksAsTheLoaderDoes) {
    EXPECT_EQ(ChooseImage(GetParam().candidates, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChooserTest, testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
