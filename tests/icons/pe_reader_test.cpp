#include "icons/icon_file.h"
#include "icons/pe_reader.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icon_files::BuiltPe;
using icon_files::GroupImage;
using icon_files::IconGroupSpec;
using icon_files::MakeDib;
using icon_files::MakePe;
using icon_files::PeSpec;
using icon_files::Put16;
using icon_files::Put32;
using icon_files::ResName;
using icon_files::SolidDib;

const Argb kRed = MakeArgb(255, 0, 0), kGreen = MakeArgb(0, 255, 0), kBlue = MakeArgb(0, 0, 255);

GroupImage Solid(std::uint16_t id, Argb colour, int size = 32, int bpp = 24) {
    return {id, static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), static_cast<std::uint16_t>(bpp),
            MakeDib(SolidDib(size, size, bpp, colour))};
}

ResName Id(std::uint32_t id) { return {id, {}}; }
ResName Named(const char16_t* n) { return {0, n}; }

PeSpec WithGroups(std::vector<IconGroupSpec> groups, bool plus = false) {
    PeSpec s;
    s.pe32plus = plus;
    s.resources = icon_files::IconResources(groups);
    return s;
}

// The colour of the icon's top-left pixel, or 0 when there is no icon.
Argb FirstPixel(const Bytes& b, int index) {
    const auto icon = IconOf(b, index);
    return icon ? icon->color.at(0) : 0;
}

struct CountCase {
    const char* name;
    PeSpec spec;
    int count;
    int withCursors = -1;  // the count with the cursor groups too; -1: the same
};

std::vector<CountCase> CountCases() {
    PeSpec noSection = WithGroups({{Id(1), {Solid(1, kRed)}}});
    noSection.resourceSection = false;
    PeSpec cursorsOnly;
    cursorsOnly.resources = {{Id(1), Id(1), 0x409, Bytes(40, 1)}, {Id(12), Id(1), 0x409, Bytes(20, 0)}, {Id(16), Id(1), 0x409, Bytes(60, 0)}};
    PeSpec iconsAndCursors = WithGroups({{Id(1), {Solid(1, kRed)}}, {Id(2), {Solid(2, kRed)}}});
    for (auto& r : icon_files::CursorResources({{Named(u"HAND"), {Solid(1, kRed)}}, {Id(7), {Solid(2, kGreen), Solid(3, kBlue)}}}))
        iconsAndCursors.resources.push_back(r);
    PeSpec dll = WithGroups({{Id(3), {Solid(1, kRed)}}, {Id(4), {Solid(2, kRed)}}}, true);
    dll.dll = true;
    return {
        {"pe32_three_groups", WithGroups({{Id(1), {Solid(1, kRed)}}, {Id(2), {Solid(2, kGreen)}}, {Id(3), {Solid(3, kBlue)}}}), 3},
        {"pe32plus_two_groups", WithGroups({{Id(1), {Solid(1, kRed)}}, {Id(2), {Solid(2, kGreen)}}}, true), 2},
        {"pe32plus_dll", dll, 2},
        {"named_and_numbered", WithGroups({{Named(u"MAINICON"), {Solid(1, kRed)}}, {Named(u"Z"), {Solid(2, kRed)}}, {Id(5), {Solid(3, kRed)}}}), 3},
        {"group_with_undecodable_image_still_counts", WithGroups({{Id(1), {{1, 32, 32, 32, Bytes(8, 0)}}}}), 1},
        {"no_resource_section", noSection, 0},
        {"resources_without_icon_groups", cursorsOnly, 0, 1},
        {"icon_groups_and_cursor_groups", iconsAndCursors, 2, 4},
    };
}

class PeCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(PeCountTest, CountsGroupIconEntries) {
    const Bytes b = MakePe(GetParam().spec).bytes;
    EXPECT_EQ(CountOf(b), GetParam().count);
    EXPECT_EQ(icons::pe::CountIconGroups(Source(b)), GetParam().count);
    const auto source = Source(b);
    const int withCursors = GetParam().withCursors < 0 ? GetParam().count : GetParam().withCursors;
    EXPECT_EQ(icons::IconFile(source, {.cursors = true}).count(), withCursors);
}

INSTANTIATE_TEST_SUITE_P(Files, PeCountTest, testing::ValuesIn(CountCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PeReader, IconsFollowTheDirectoryOrderNamedFirst) {
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        const Bytes b = MakePe(WithGroups({{Id(2), {Solid(1, kBlue)}}, {Named(u"APP"), {Solid(2, kRed)}}, {Id(9), {Solid(3, kGreen)}}}, plus)).bytes;
        ASSERT_EQ(CountOf(b), 3);
        EXPECT_EQ(FirstPixel(b, 0), kRed);
        EXPECT_EQ(FirstPixel(b, 1), kBlue);
        EXPECT_EQ(FirstPixel(b, 2), kGreen);
        EXPECT_FALSE(IconOf(b, 3).has_value());
        EXPECT_FALSE(IconOf(b, -1).has_value());
    }
}

TEST(PeReader, FirstLanguageOfAGroupIsUsed) {
    PeSpec s = WithGroups({{Id(1), {Solid(1, kRed)}}, {Id(2), {Solid(2, kGreen)}}});
    // A second language of group 1 that names the green image.
    s.resources.push_back({Id(14), Id(1), 0x407, icon_files::MakeGroupDirectory({Solid(2, kGreen)})});
    const Bytes b = MakePe(s).bytes;
    EXPECT_EQ(CountOf(b), 2);
    EXPECT_EQ(FirstPixel(b, 0), kRed);
}

// The file cut short: at each header boundary nothing is left to read; cut right
// after the last image byte everything is still there.
TEST(PeReader, TruncatedAtEachBoundary) {
    const BuiltPe pe = MakePe(WithGroups({{Id(1), {Solid(1, kRed)}}}));
    // The group directory is the last data the tree holds.
    const auto* groups = pe.type(14);
    ASSERT_NE(groups, nullptr);
    const std::size_t entry = pe.treeFileOffset + groups->dataEntries[0];
    const std::size_t dataEnd = pe.treeFileOffset + (icon_files::Get32(pe.bytes, entry) - pe.treeRva) + icon_files::Get32(pe.bytes, entry + 4);
    struct Case {
        const char* name;
        std::size_t length;
        int count;
        bool icon;
    } cases[] = {
        {"inside_dos_header", 0x3F, 0, false},
        {"before_signature_end", pe.peOffset + 3, 0, false},
        {"inside_file_header", pe.peOffset + 23, 0, false},
        {"inside_optional_header", pe.optionalHeaderOffset + 100, 0, false},
        {"inside_section_table", pe.sectionTableOffset + 79, 0, false},
        {"inside_root_directory", pe.treeFileOffset + 15, 0, false},
        {"inside_type_entries", pe.treeFileOffset + 16 + 8 * 2 - 1, 0, false},
        {"group_directory_one_byte_short", dataEnd - 1, 1, false},
        {"exact_fit_after_last_data", dataEnd, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LE(c.length, pe.bytes.size());
        const Bytes cut(pe.bytes.begin(), pe.bytes.begin() + static_cast<std::ptrdiff_t>(c.length));
        EXPECT_EQ(CountOf(cut), c.count);
        EXPECT_EQ(IconOf(cut).has_value(), c.icon);
    }
}

// One field patched: where it fits exactly, one past, and at the field's maximum.
struct PatchCase {
    const char* name;
    std::function<void(BuiltPe&)> patch;
    int count;
    bool icon;
};

std::uint32_t TreeEntry(const BuiltPe& pe, std::uint32_t dir, int i) {
    return static_cast<std::uint32_t>(pe.treeFileOffset + dir + 16 + 8 * i);
}

std::vector<PatchCase> PatchCases() {
    return {
        {"untouched", [](BuiltPe&) {}, 1, true},
        {"e_lfanew_max", [](BuiltPe& p) { Put32(p.bytes, 0x3C, 0xFFFFFFFFu); }, 0, false},
        {"e_lfanew_at_last_four_bytes",
         [](BuiltPe& p) {
             const auto end = p.bytes.size();
             Put32(p.bytes, 0x3C, static_cast<std::uint32_t>(end - 4));
             std::copy_n("PE\0\0", 4, p.bytes.end() - 4);
         },
         0, false},
        {"optional_magic_rom", [](BuiltPe& p) { Put16(p.bytes, p.optionalHeaderOffset, 0x107); }, 0, false},
        {"optional_size_too_small_for_resources",
         [](BuiltPe& p) { Put16(p.bytes, p.peOffset + 20, static_cast<std::uint16_t>(92 + 4 + 16 + 7)); }, 0, false},
        {"data_directories_2", [](BuiltPe& p) { Put32(p.bytes, p.optionalHeaderOffset + 92, 2); }, 0, false},
        {"data_directories_3", [](BuiltPe& p) { Put32(p.bytes, p.optionalHeaderOffset + 92, 3); }, 1, true},
        {"data_directories_max", [](BuiltPe& p) { Put32(p.bytes, p.optionalHeaderOffset + 92, 0xFFFFFFFFu); }, 1, true},
        {"sections_0", [](BuiltPe& p) { Put16(p.bytes, p.peOffset + 6, 0); }, 0, false},
        {"sections_97", [](BuiltPe& p) { Put16(p.bytes, p.peOffset + 6, 97); }, 0, false},
        {"sections_max", [](BuiltPe& p) { Put16(p.bytes, p.peOffset + 6, 0xFFFF); }, 0, false},
        {"resource_rva_past_section", [](BuiltPe& p) {
             Put32(p.bytes, p.resourceDataDirOffset, p.treeRva + icon_files::Get32(p.bytes, p.sectionTableOffset + 40 + 16));
         }, 0, false},
        {"resource_rva_max", [](BuiltPe& p) { Put32(p.bytes, p.resourceDataDirOffset, 0xFFFFFFFFu); }, 0, false},
        {"rsrc_raw_pointer_max", [](BuiltPe& p) { Put32(p.bytes, p.sectionTableOffset + 40 + 20, 0xFFFFFFFFu); }, 0, false},
        {"rsrc_raw_size_max", [](BuiltPe& p) { Put32(p.bytes, p.sectionTableOffset + 40 + 16, 0xFFFFFFFFu); }, 1, true},
        {"group_type_entries_65535_not_present", [](BuiltPe& p) { Put16(p.bytes, p.treeFileOffset + p.type(14)->directory + 14, 0xFFFF); }, 0, false},
        {"root_loops_to_itself", [](BuiltPe& p) { Put32(p.bytes, TreeEntry(p, 0, 1) + 4, 0x80000000u); }, 0, false},
        {"group_name_loops_to_type",
         [](BuiltPe& p) { Put32(p.bytes, TreeEntry(p, p.type(14)->directory, 0) + 4, 0x80000000u | p.type(14)->directory); }, 1, false},
        {"group_name_loops_to_root", [](BuiltPe& p) { Put32(p.bytes, TreeEntry(p, p.type(14)->directory, 0) + 4, 0x80000000u); }, 1, false},
        {"icon_name_loops_to_type",
         [](BuiltPe& p) { Put32(p.bytes, TreeEntry(p, p.type(3)->directory, 0) + 4, 0x80000000u | p.type(3)->directory); }, 1, false},
        {"group_data_rva_max", [](BuiltPe& p) { Put32(p.bytes, p.treeFileOffset + p.type(14)->dataEntries[0], 0xFFFFFFFFu); }, 1, false},
        {"group_data_size_max", [](BuiltPe& p) { Put32(p.bytes, p.treeFileOffset + p.type(14)->dataEntries[0] + 4, 0xFFFFFFFFu); }, 1, true},
        {"icon_data_size_max", [](BuiltPe& p) { Put32(p.bytes, p.treeFileOffset + p.type(3)->dataEntries[0] + 4, 0xFFFFFFFFu); }, 1, true},
        {"icon_data_one_byte_short",
         [](BuiltPe& p) {
             const std::size_t at = p.treeFileOffset + p.type(3)->dataEntries[0] + 4;
             Put32(p.bytes, at, icon_files::Get32(p.bytes, at) - 1);
         },
         1, false},
        {"icon_id_missing", [](BuiltPe& p) { Put32(p.bytes, TreeEntry(p, p.type(3)->directory, 0), 77); }, 1, false},
    };
}

class PePatchTest : public testing::TestWithParam<PatchCase> {};

TEST_P(PePatchTest, SurvivesTheField) {
    BuiltPe pe = MakePe(WithGroups({{Id(1), {Solid(1, kRed)}}}));
    GetParam().patch(pe);
    EXPECT_EQ(CountOf(pe.bytes), GetParam().count);
    const auto icon = IconOf(pe.bytes);
    ASSERT_EQ(icon.has_value(), GetParam().icon);
    if (icon) {
        EXPECT_EQ(icon->color.at(0), kRed);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, PePatchTest, testing::ValuesIn(PatchCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PeReader, GroupDirectoryOf65535EntriesThatAreThere) {
    BuiltPe pe = MakePe(WithGroups({{Id(1), {Solid(1, kRed)}}}));
    // Grow the section so a table of 65535 ID entries fits after the last directory, then point the type at it.
    const std::size_t tableAt = pe.bytes.size();
    pe.bytes.resize(tableAt + 16 + 8 * 65535, 0);
    const std::uint32_t rawSize = static_cast<std::uint32_t>(pe.bytes.size() - pe.treeFileOffset);
    Put32(pe.bytes, pe.sectionTableOffset + 40 + 16, rawSize);
    Put32(pe.bytes, pe.sectionTableOffset + 40 + 8, rawSize);
    Put16(pe.bytes, tableAt + 14, 0xFFFF);
    Put32(pe.bytes, TreeEntry(pe, 0, 1) + 4, 0x80000000u | static_cast<std::uint32_t>(tableAt - pe.treeFileOffset));
    EXPECT_EQ(CountOf(pe.bytes), 65535);
    EXPECT_FALSE(IconOf(pe.bytes, 65534).has_value());
    EXPECT_FALSE(IconOf(pe.bytes, 65535).has_value());
}

}  // namespace
}  // namespace icon_tests

namespace icon_tests {
namespace {

// Remembers every range read, to show what counting touches.
class RecordingSource : public icons::ByteSource {
public:
    explicit RecordingSource(const Bytes& b) : inner_(b.data(), b.size()) {}
    std::uint64_t size() const override { return inner_.size(); }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override {
        ranges.emplace_back(offset, n);
        return inner_.read(offset, dst, n);
    }
    mutable std::vector<std::pair<std::uint64_t, std::size_t>> ranges;

private:
    icons::MemorySource inner_;
};

TEST(PeReader, CountingReadsHeadersAndDirectoriesOnly) {
    std::vector<IconGroupSpec> groups;
    for (std::uint16_t g = 1; g <= 5; ++g) groups.push_back({Id(g), {Solid(g, kRed, 48, 32)}});
    PeSpec spec = WithGroups(groups, true);
    spec.codeBytes = 1 << 20;
    const BuiltPe pe = MakePe(spec);
    const RecordingSource source(pe.bytes);
    ASSERT_EQ(icons::CountIcons(source), 5);
    std::uint64_t total = 0;
    for (const auto& [offset, n] : source.ranges) {
        total += n;
        // Resource data (images and group directories) starts after the tree's directories and entries.
        const std::uint64_t firstData = pe.treeFileOffset + pe.type(3)->dataEntries[0];
        EXPECT_LT(offset, firstData) << "read of " << n << " bytes at " << offset;
    }
    EXPECT_LT(total, 1024u);
}

}  // namespace
}  // namespace icon_tests
