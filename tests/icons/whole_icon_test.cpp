// The whole icon: a group written out as an .ico and read back holds the same
// images, byte for byte and pixel for pixel, for every container; and each
// kind of image gets the transparency Windows would draw it with.
#include "icons/icon_file.h"
#include "icons/image_decoder.h"
#include "icons/whole_icon.h"
#include "test_support.h"

namespace icon_tests {
namespace {

namespace icons = icons;
using icon_files::GroupImage;
using icon_files::MakeDib;
using icon_files::SolidDib;

const Argb kBlue = MakeArgb(0, 0, 255);

// Five images of different kinds and sizes, the PNG past what a directory byte
// can say, the tall DIB with a directory that says what a byte keeps of 313.
std::vector<GroupImage> MixedImages() {
    icon_files::DibSpec inverted = SolidDib(16, 16, 4, MakeArgb(0, 255, 0));
    inverted.mask.assign(16 * 16, 1);
    return {
        {11, 0, 0, 32,
         icon_files::MakePng(256, 256, std::vector<Argb>(256 * 256, MakeArgb(9, 9, 9, 128)), icon_files::PngKind::GrayAlpha8)},
        {12, 48, 48, 32, MakeDib(SolidDib(48, 48, 32, MakeArgb(1, 2, 3, 200)))},
        {13, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, kBlue))},
        {14, 16, 16, 4, MakeDib(inverted)},
        {15, 194, 313 & 0xFF, 8, MakeDib(SolidDib(194, 313, 8, kBlue))},
    };
}

struct FamilyCase {
    const char* name;
    Bytes file;
    int index;      // of the mixed group in the file
    bool cursor;
    Bytes whole = {};  // what the group is written as, when the case knows it
};

std::vector<FamilyCase> Families() {
    const std::vector<GroupImage> mixed = MixedImages();
    const std::vector<GroupImage> other = {{21, 32, 32, 24, MakeDib(SolidDib(32, 32, 24, kBlue))}};
    icon_files::PeSpec pe32, pe64;
    pe32.resources = icon_files::IconResources({{{5, {}}, other}, {{0, u"APP"}, mixed}});
    pe64 = pe32;
    pe64.pe32plus = true;
    icon_files::NeSpec ne;
    ne.alignShift = 9;  // lengths rounded up to 512 bytes in the table
    ne.resources = icon_files::NeIconResources({other, mixed});
    std::vector<icon_files::IcoEntry> entries;
    for (const GroupImage& g : mixed) entries.push_back({g.width, g.height, 0, 1, g.bitCount, g.image});
    std::vector<icon_files::IcoEntry> cursor = {{32, 32, 0, 5, 7, MakeDib(SolidDib(32, 32, 1, kBlue))}};
    // A program's cursor: icons first, then a named cursor group before a numbered one.
    const std::vector<GroupImage> arrow = {{31, 48, 48, 1, MakeDib(SolidDib(48, 48, 1, kBlue)), 3, 4},
                                           {32, 32, 32, 32, MakeDib(SolidDib(32, 32, 32, MakeArgb(1, 2, 3, 200))), 1, 2}};
    icon_files::PeSpec withCursors = pe32;
    for (auto& r : icon_files::CursorResources({{{7, {}}, other}, {{0, u"ARROW"}, arrow}})) withCursors.resources.push_back(r);
    icon_files::NeSpec neCursors = ne;
    for (auto& r : icon_files::NeCursorResources({other, arrow}, 5)) neCursors.resources.push_back(r);
    return {
        {"pe32", icon_files::MakePe(pe32).bytes, 1, false},
        {"pe32plus", icon_files::MakePe(pe64).bytes, 1, false},
        {"ne", icon_files::MakeNe(ne).bytes, 1, false},
        {"ico", icon_files::MakeIco(entries), 0, false},
        {"cur", icon_files::MakeIco(cursor, 2), 0, true},
        {"pe32_cursor_group", icon_files::MakePe(withCursors).bytes, 2, true, icon_files::CursorFileOf(arrow)},
        {"ne_cursor_group", icon_files::MakeNe(neCursors).bytes, 3, true, icon_files::CursorFileOf(arrow)},
        {"ani", icon_files::MakeList("ACON", {icon_files::MakeList("fram", {icon_files::MakeChunk("icon", icon_files::MakeIco(cursor, 2)), icon_files::MakeChunk("icon", icon_files::MakeIco(entries))})}, "RIFF"), 1, false},
    };
}

class WholeIconRoundTrip : public testing::TestWithParam<FamilyCase> {};

// Written out and read back as an .ico, the group gives the same images in the same order.
TEST_P(WholeIconRoundTrip, ReadsBackTheSameImages) {
    const FamilyCase& c = GetParam();
    const auto source = Source(c.file);
    const icons::IconFile file(source, {.cursors = true});
    const auto described = file.describe(c.index);
    const auto bytes = file.fileBytes(c.index);
    ASSERT_TRUE(described && bytes);
    EXPECT_EQ(described->cursor, c.cursor);
    EXPECT_GE(described->shown, 0);
    const auto written = Source(*bytes);
    ASSERT_EQ(icons::CountIcons(written), 1);
    const auto reread = icons::DescribeIcon(written, 0);
    ASSERT_TRUE(reread.has_value());
    ASSERT_EQ(reread->images.size(), described->images.size());
    EXPECT_EQ(reread->shown, described->shown);
    for (std::size_t k = 0; k < described->images.size(); ++k) {
        SCOPED_TRACE(k);
        const icons::ImageDescription& a = described->images[k];
        const icons::ImageDescription& b = reread->images[k];
        // The exact stored size: an NE table's padding is not part of the image.
        EXPECT_EQ(std::tie(a.width, a.height, a.depth, a.png, a.bytes), std::tie(b.width, b.height, b.depth, b.png, b.bytes));
        const auto before = file.decode(c.index, static_cast<int>(k));
        const auto after = icons::DecodeIconImage(written, 0, static_cast<int>(k));
        ASSERT_TRUE(before && after);
        EXPECT_EQ(before->pixels, after->pixels);
        // The directory byte for a side of 256 is 0, as Windows writes it.
        if (!c.cursor) {
            EXPECT_EQ((*bytes)[6 + 16 * k], a.width >= 256 ? 0 : a.width);
            // Ours says the height the image's header gives; an .ico copied whole keeps its own.
            if (std::string(c.name) != "ico" && std::string(c.name) != "ani") {
                EXPECT_EQ((*bytes)[6 + 16 * k + 1], a.height >= 256 ? 0 : a.height);
            }
            EXPECT_EQ(icon_files::Get16(*bytes, 6 + 16 * k + 6), a.png ? 32 : a.depth);
        }
    }
    // An .ico or .cur is its own icon file.
    if (c.index == 0 && std::string(c.name) != "pe32") {
        EXPECT_EQ(*bytes, c.file);
    }
    if (!c.whole.empty()) EXPECT_EQ(*bytes, c.whole);
}

INSTANTIATE_TEST_SUITE_P(Families, WholeIconRoundTrip, testing::ValuesIn(Families()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WholeIcon, NamesAndDescribesEveryIconInOrder) {
    const Bytes pe = Families()[0].file;
    const auto all = icons::DescribeIcons(Source(pe));
    ASSERT_EQ(all.size(), 2u);
    // Named entries come first in a resource directory.
    EXPECT_EQ(all[0].name, "APP");
    EXPECT_EQ(all[1].name, "5");
    ASSERT_EQ(all[0].images.size(), 5u);
    const icons::ImageDescription& png = all[0].images[0];
    EXPECT_EQ(std::tie(png.width, png.height, png.depth, png.png), std::make_tuple(256, 256, 16, true));
    const icons::ImageDescription& tall = all[0].images[4];
    EXPECT_EQ(std::tie(tall.width, tall.height, tall.depth, tall.png), std::make_tuple(194, 313, 8, false));
    EXPECT_EQ(icons::LargestImage(all[0]), 0);
    // The 32x32 cell draws the 32x32 image.
    EXPECT_EQ(all[0].shown, 2);
    const Bytes ne = Families()[2].file;
    const auto neIcons = icons::DescribeIcons(Source(ne));
    ASSERT_EQ(neIcons.size(), 2u);
    EXPECT_EQ(neIcons[1].name, "2");
}

// Each kind of image and the pixel it gives, at its own size.
TEST(WholeIcon, TransparencyAsWindowsDrawsIt) {
    icon_files::DibSpec alphaZero = SolidDib(2, 1, 32, MakeArgb(10, 20, 30, 0));
    alphaZero.pixels = {0x00000000u, 0x000A141Eu};  // black where the mask lets the background through
    alphaZero.mask = {1, 0};
    icon_files::DibSpec masked24 = SolidDib(2, 1, 24, MakeArgb(10, 20, 30));
    masked24.pixels = {0x0A141Eu, 0x000000u};
    masked24.mask = {0, 1};
    icon_files::DibSpec black1 = SolidDib(2, 1, 1, MakeArgb(0, 0, 0));
    black1.palette = {MakeArgb(0, 0, 0), MakeArgb(255, 255, 255)};
    black1.pixels = {0, 1};
    black1.mask = {1, 1};
    struct Case {
        const char* name;
        Bytes image;
        Argb first, second;
        bool inverted;
    } cases[] = {
        {"alpha_32", MakeDib(SolidDib(2, 1, 32, MakeArgb(10, 20, 30, 77))), MakeArgb(10, 20, 30, 77),
         MakeArgb(10, 20, 30, 77), false},
        {"alpha_zero_uses_mask", MakeDib(alphaZero), 0, MakeArgb(10, 20, 30), false},
        {"mask_24", MakeDib(masked24), MakeArgb(10, 20, 30), 0, false},
        {"inverted_on_white", MakeDib(black1), 0, MakeArgb(0, 0, 0), true},
        {"png", icon_files::MakePng(2, 1, {MakeArgb(1, 2, 3, 4), MakeArgb(5, 6, 7, 0)}), MakeArgb(1, 2, 3, 4),
         MakeArgb(5, 6, 7, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes ico = icon_files::MakeIco({{2, 1, 0, 1, 32, c.image}});
        const auto image = icons::DecodeIconImage(Source(ico), 0, 0);
        ASSERT_TRUE(image.has_value());
        ASSERT_EQ(image->pixels.size(), 2u);
        EXPECT_EQ(image->pixels[0], c.first);
        EXPECT_EQ(image->pixels[1], c.second);
        EXPECT_EQ(image->inverted, c.inverted);
        // What EncodePng writes decodes to the same straight-alpha pixels.
        const auto png = icons::EncodePng(*image);
        ASSERT_TRUE(png.has_value());
        const auto back = icons::DecodePngBytes(icons::ByteView(*png));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->color, image->pixels);
    }
}

TEST(WholeIcon, LargestByPixelsThenDepth) {
    struct Case {
        const char* name;
        std::vector<icons::ImageDescription> images;
        int largest;
    } cases[] = {
        {"none", {}, -1},
        {"most_pixels", {{32, 32, 32, false, 1}, {48, 48, 4, false, 1}, {16, 16, 32, false, 1}}, 1},
        {"deeper_on_equal_pixels", {{32, 32, 8, false, 1}, {32, 32, 32, false, 1}, {32, 32, 24, false, 1}}, 1},
        {"first_on_a_tie", {{64, 16, 8, false, 1}, {32, 32, 8, false, 1}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        icons::IconDescription d;
        d.images = c.images;
        EXPECT_EQ(icons::LargestImage(d), c.largest);
    }
}

}  // namespace
}  // namespace icon_tests
