#include "icons/icon_file.h"
#include "icons/ne_reader.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icon_files::BuiltNe;
using icon_files::GroupImage;
using icon_files::MakeDib;
using icon_files::MakeNe;
using icon_files::NeSpec;
using icon_files::Put16;
using icon_files::SolidDib;

const Argb kRed = MakeArgb(255, 0, 0), kGreen = MakeArgb(0, 255, 0);

GroupImage Solid(std::uint16_t id, Argb colour, int bpp = 4) {
    return {id, 32, 32, static_cast<std::uint16_t>(bpp), MakeDib(SolidDib(32, 32, bpp, colour))};
}

NeSpec TwoGroups(std::uint16_t shift = 4) {
    NeSpec s;
    s.alignShift = shift;
    s.resources = icon_files::NeIconResources({{Solid(1, kRed)}, {Solid(2, kGreen), Solid(3, kRed, 1)}});
    return s;
}

TEST(NeReader, CountsAndOrdersGroupsAtEveryAlignment) {
    for (std::uint16_t shift : {0, 1, 4, 9}) {
        SCOPED_TRACE(shift);
        const Bytes b = MakeNe(TwoGroups(shift)).bytes;
        ASSERT_EQ(CountOf(b), 2);
        const auto first = IconOf(b, 0), second = IconOf(b, 1);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->color.at(0), kRed);
        EXPECT_EQ(second->color.at(0), kGreen);  // 4 bits is nearer 32 than 1 bit
        EXPECT_FALSE(IconOf(b, 2).has_value());
    }
}

TEST(NeReader, CountsOnlyIconGroupsUnlessAskedForCursors) {
    NeSpec iconsOnly;
    iconsOnly.resources = {{0x8003, 0x8001, MakeDib(SolidDib(32, 32, 4, kRed))}, {0x800C, 0x8001, Bytes(20, 0)}};
    NeSpec empty;
    NeSpec groupsAmongOthers = TwoGroups();
    groupsAmongOthers.resources.insert(groupsAmongOthers.resources.begin(), {0x8010, 0x8001, Bytes(30, 7)});
    // A cursor group before the icon groups in the table still counts after them.
    NeSpec cursorsFirst = TwoGroups();
    const auto cursors = icon_files::NeCursorResources({{Solid(1, kGreen)}}, 9);
    cursorsFirst.resources.insert(cursorsFirst.resources.begin(), cursors.begin(), cursors.end());
    const std::tuple<NeSpec, int, int> cases[] = {{iconsOnly, 0, 1}, {empty, 0, 0}, {groupsAmongOthers, 2, 2}, {cursorsFirst, 2, 3}};
    for (const auto& [spec, count, withCursors] : cases) {
        const Bytes b = MakeNe(spec).bytes;
        const auto source = Source(b);
        const icons::IconFile file(source, {.cursors = true});
        EXPECT_EQ(CountOf(b), count);
        EXPECT_EQ(file.count(), withCursors);
        EXPECT_EQ(file.describe(2).value_or(icons::IconDescription{}).name, withCursors == 3 ? "9" : "");
    }
}

struct NeCase {
    const char* name;
    std::function<void(BuiltNe&)> change;
    int count;
    bool firstIcon;
};

void Cut(BuiltNe& ne, std::size_t length) { ne.bytes.resize(length); }
// NAMEINFO i of the table's first type (RT_ICON, three of them) or, past them, of RT_GROUP_ICON.
std::size_t NameInfo(const BuiltNe& ne, int i) {
    return i < 3 ? ne.resourceTableOffset + 2 + 8 + 12 * i : ne.resourceTableOffset + 2 + 8 + 36 + 8 + 12 * (i - 3);
}

std::vector<NeCase> NeCases() {
    return {
        {"untouched", [](BuiltNe&) {}, 2, true},
        {"cut_in_ne_header", [](BuiltNe& n) { Cut(n, n.neOffset + 0x27); }, 0, false},
        {"cut_after_shift", [](BuiltNe& n) { Cut(n, n.resourceTableOffset + 2); }, 0, false},
        {"cut_in_typeinfo", [](BuiltNe& n) { Cut(n, n.resourceTableOffset + 7); }, 0, false},
        {"cut_in_nameinfo", [](BuiltNe& n) { Cut(n, NameInfo(n, 4) + 11); }, 0, false},
        {"cut_before_terminator", [](BuiltNe& n) { Cut(n, n.tableEnd - 1); }, 0, false},
        {"shift_25", [](BuiltNe& n) { Put16(n.bytes, n.resourceTableOffset, 25); }, 0, false},
        {"shift_max", [](BuiltNe& n) { Put16(n.bytes, n.resourceTableOffset, 0xFFFF); }, 0, false},
        {"type_count_65535", [](BuiltNe& n) { Put16(n.bytes, n.resourceTableOffset + 4, 0xFFFF); }, 0, false},
        {"table_offset_max", [](BuiltNe& n) { Put16(n.bytes, n.neOffset + 0x24, 0xFFFF); }, 0, false},
        {"group_length_max_is_clamped", [](BuiltNe& n) { Put16(n.bytes, NameInfo(n, 3) + 2, 0xFFFF); }, 2, true},
        {"image_offset_past_end", [](BuiltNe& n) { Put16(n.bytes, NameInfo(n, 0), 0xFFFF); }, 2, false},
        {"image_cut_short", [](BuiltNe& n) { Put16(n.bytes, NameInfo(n, 0) + 2, 1); }, 2, false},
        {"group_names_missing_icon", [](BuiltNe& n) { Put16(n.bytes, NameInfo(n, 0) + 6, 0x8009); }, 2, false},
    };
}

class NePatchTest : public testing::TestWithParam<NeCase> {};

TEST_P(NePatchTest, SurvivesTheChange) {
    BuiltNe ne = MakeNe(TwoGroups());
    GetParam().change(ne);
    EXPECT_EQ(CountOf(ne.bytes), GetParam().count);
    EXPECT_EQ(IconOf(ne.bytes, 0).has_value(), GetParam().firstIcon);
}

INSTANTIATE_TEST_SUITE_P(Changes, NePatchTest, testing::ValuesIn(NeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace icon_tests
