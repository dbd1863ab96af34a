#include "icons/ico_reader.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icon_files::DibSpec;
using icon_files::IcoEntry;
using icon_files::IcoEntryOffset;
using icon_files::MakeDib;
using icon_files::MakeIco;
using icon_files::Put16;
using icon_files::Put32;
using icon_files::SolidDib;

const Argb kRed = MakeArgb(255, 0, 0), kGreen = MakeArgb(0, 255, 0), kBlue = MakeArgb(0, 0, 255);

IcoEntry Entry(int side, int bpp, Argb colour) {
    return {static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 1, static_cast<std::uint16_t>(bpp),
            MakeDib(SolidDib(side, side, bpp, colour))};
}

struct CountCase {
    const char* name;
    std::function<Bytes()> file;
    int count;
};

Bytes Patched(Bytes b, std::size_t at, std::uint32_t v, bool wide = true) {
    wide ? Put32(b, at, v) : Put16(b, at, static_cast<std::uint16_t>(v));
    return b;
}

const Bytes kOne = MakeIco({Entry(32, 4, kRed)});

const CountCase kCounts[] = {
    {"ico_one_entry", [] { return kOne; }, 1},
    {"ico_three_entries", [] { return MakeIco({Entry(16, 4, kRed), Entry(32, 8, kRed), Entry(48, 32, kRed)}); }, 1},
    {"cur", [] { return MakeIco({Entry(32, 1, kRed)}, 2); }, 1},
    {"png_entry", [] { return MakeIco({{0, 0, 0, 1, 32, icon_files::MakePng(256, 256, std::vector<Argb>(65536, kRed))}}); }, 1},
    {"type_3", [] { return Patched(kOne, 2, 3, false); }, 0},
    {"reserved_1", [] { return Patched(kOne, 0, 1, false); }, 0},
    {"no_entries", [] { return Patched(kOne, 4, 0, false); }, 0},
    {"count_65535_one_present", [] { return Patched(kOne, 4, 0xFFFF, false); }, 1},
    {"offset_at_last_byte", [] { return Patched(Patched(kOne, IcoEntryOffset(0) + 12, static_cast<std::uint32_t>(kOne.size() - 1)), IcoEntryOffset(0) + 8, 1); }, 1},
    {"offset_at_end", [] { return Patched(kOne, IcoEntryOffset(0) + 12, static_cast<std::uint32_t>(kOne.size())); }, 0},
    {"offset_max", [] { return Patched(kOne, IcoEntryOffset(0) + 12, 0xFFFFFFFFu); }, 0},
    {"size_zero", [] { return Patched(kOne, IcoEntryOffset(0) + 8, 0); }, 0},
    {"second_entry_inside", [] {
         const Bytes two = MakeIco({Entry(16, 4, kRed), Entry(32, 4, kRed)});
         return Patched(two, IcoEntryOffset(0) + 12, 0xFFFFFFFFu);
     }, 1},
    {"cut_in_header", [] { return Bytes(kOne.begin(), kOne.begin() + 5); }, 0},
    {"cut_in_entry", [] { return Bytes(kOne.begin(), kOne.begin() + 21); }, 0},
};

class IcoCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(IcoCountTest, CountsOneWhenAnEntryPointsInside) { EXPECT_EQ(CountOf(GetParam().file()), GetParam().count); }

INSTANTIATE_TEST_SUITE_P(Files, IcoCountTest, testing::ValuesIn(kCounts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IcoReader, OnlyIndexZeroExists) {
    EXPECT_TRUE(IconOf(kOne, 0).has_value());
    EXPECT_FALSE(IconOf(kOne, 1).has_value());
    EXPECT_FALSE(IconOf(kOne, -1).has_value());
}

TEST(IcoReader, ZeroInTheDirectoryMeans256) {
    const Bytes b = MakeIco({{0, 0, 0, 1, 32, Bytes(40, 0)}, {0, 16, 0, 1, 32, Bytes(40, 0)}});
    const auto images = icons::ico::Images(Source(b));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].dirWidth, 256);
    EXPECT_EQ(images[0].dirHeight, 256);
    EXPECT_EQ(images[1].dirWidth, 256);
    EXPECT_EQ(images[1].dirHeight, 16);
}

// Which colour is drawn from files whose entries compete; each entry has its own colour.
struct ChoiceCase {
    const char* name;
    std::function<Bytes()> file;
    Argb colour;
};

const ChoiceCase kChoices[] = {
    {"depth_4_listed_before_32", [] { return MakeIco({Entry(32, 4, kRed), Entry(32, 32, kGreen)}); }, kGreen},
    {"exact_size_over_depth", [] { return MakeIco({Entry(48, 32, kRed), Entry(32, 1, kGreen), Entry(16, 32, kBlue)}); }, kGreen},
    {"nearest_size", [] { return MakeIco({Entry(64, 32, kRed), Entry(16, 32, kGreen), Entry(24, 8, kBlue)}); }, kBlue},
    {"header_over_directory", [] {
         // The directory has the sizes swapped; the images' own headers decide.
         IcoEntry small = Entry(16, 32, kRed), big = Entry(32, 32, kGreen);
         std::swap(small.width, big.width);
         std::swap(small.height, big.height);
         return MakeIco({small, big});
     }, kGreen},
    {"png_header_over_directory", [] {
         IcoEntry png{16, 16, 0, 1, 1, icon_files::MakePng(32, 32, std::vector<Argb>(1024, kBlue))};
         return MakeIco({Entry(16, 32, kRed), png});
     }, kBlue},
    {"undecodable_best_passed_over", [] {
         IcoEntry broken = Entry(32, 32, kRed);
         broken.image.resize(broken.image.size() - 1);
         return MakeIco({Entry(16, 32, kGreen), broken});
     }, kGreen},
    {"cursor_hotspot_is_no_depth", [] {
         IcoEntry mono = Entry(32, 1, kRed), colour = Entry(32, 4, kGreen);
         mono.planes = mono.bitCount = 31;
         colour.planes = colour.bitCount = 0;
         return MakeIco({mono, colour}, 2);
     }, kGreen},
};

class IcoChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(IcoChoiceTest, DrawsTheImageTheLoaderPicks) {
    const auto icon = IconOf(GetParam().file());
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(Drawn(*icon, MakeArgb(255, 255, 255)).at(16, 16), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Files, IcoChoiceTest, testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IcoReader, MaskedImagesDrawByAndThenXor) {
    // Left half: mask 1 with white (inverts); right half: mask 0 with black, one transparent corner.
    DibSpec s;
    s.width = s.height = 32;
    s.bpp = 1;
    s.palette = {MakeArgb(0, 0, 0), MakeArgb(255, 255, 255)};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            s.pixels.push_back(x < 16 ? 1 : 0);
            s.mask.push_back(x < 16 || (x == 31 && y == 0) ? 1 : 0);
        }
    const Argb back = MakeArgb(0, 0, 255);
    for (int bpp : {1, 32}) {
        SCOPED_TRACE(bpp);
        DibSpec spec = s;
        if (bpp == 32) {
            // All-zero alpha: the mask must still apply.
            spec.bpp = 32;
            spec.palette.clear();
            for (auto& p : spec.pixels) p = p ? 0x00FFFFFFu : 0u;
        }
        const auto icon = IconOf(MakeIco({{32, 32, 0, 1, static_cast<std::uint16_t>(bpp), MakeDib(spec)}}));
        ASSERT_TRUE(icon.has_value());
        EXPECT_FALSE(icon->blended);
        const pixels::Bitmap cell = Drawn(*icon, back);
        EXPECT_EQ(cell.at(3, 9), MakeArgb(255, 255, 0));  // inverted blue
        EXPECT_EQ(cell.at(20, 9), MakeArgb(0, 0, 0));
        EXPECT_EQ(cell.at(31, 0), back);
    }
}

}  // namespace
}  // namespace icon_tests
