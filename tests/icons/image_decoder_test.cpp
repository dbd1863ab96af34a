#include <limits>

#include "icons/image_decoder.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icon_files::DibSpec;
using icon_files::MakeDib;
using icon_files::MakePng;
using icon_files::PngKind;
using icons::Blob;
using icons::DecodeImage;
using icons::ProbeImage;

std::optional<icons::Icon> Decode(const Bytes& b) { return DecodeImage(Source(b), Blob{0, b.size()}); }

std::vector<Argb> Palette16() {
    std::vector<Argb> p;
    for (int i = 0; i < 16; ++i) p.push_back(MakeArgb(i * 16, 255 - i * 16, i));
    return p;
}

// 3x2 images: three pixels a row pads every depth's rows, two rows show the bottom-up order.
struct DepthCase {
    const char* name;
    DibSpec spec;
    std::vector<Argb> colour;  // top row first
    bool blended;
};

const Argb kA = MakeArgb(10, 20, 30), kB = MakeArgb(200, 100, 50), kBlack = MakeArgb(0, 0, 0);
const std::vector<std::uint8_t> kMask = {0, 1, 0, 0, 0, 1};

DibSpec Spec(int bpp, std::vector<std::uint32_t> pixels, std::vector<Argb> palette = {}, std::uint32_t compression = 0,
             std::vector<std::uint32_t> masks = {}, std::uint32_t clrUsed = 0) {
    DibSpec s;
    s.width = 3;
    s.height = 2;
    s.bpp = bpp;
    s.pixels = std::move(pixels);
    s.palette = std::move(palette);
    s.compression = compression;
    s.masks = std::move(masks);
    s.clrUsed = clrUsed;
    s.mask = kMask;
    return s;
}

const std::vector<DepthCase> kDepths = {
    {"bpp1", Spec(1, {0, 1, 1, 1, 0, 0}, {kA, kB}), {kA, kB, kB, kB, kA, kA}, false},
    {"bpp4", Spec(4, {1, 15, 7, 0, 3, 9}, Palette16()),
     {Palette16()[1], Palette16()[15], Palette16()[7], Palette16()[0], Palette16()[3], Palette16()[9]}, false},
    // Three palette entries declared; index 5 lies past them and paints black.
    {"bpp8_short_palette", Spec(8, {0, 1, 2, 2, 5, 1}, {kA, kB, MakeArgb(1, 2, 3)}, 0, {}, 3),
     {kA, kB, MakeArgb(1, 2, 3), MakeArgb(1, 2, 3), kBlack, kB}, false},
    {"bpp16_555", Spec(16, {0x7C00, 0x03E0, 0x001F, 0x4210, 0x7FFF, 0}),
     {MakeArgb(255, 0, 0), MakeArgb(0, 255, 0), MakeArgb(0, 0, 255), MakeArgb(132, 132, 132), MakeArgb(255, 255, 255), kBlack},
     false},
    {"bpp16_565_bitfields", Spec(16, {0xF800, 0x07E0, 0x001F, 0x8410, 0xFFFF, 0}, {}, icon_files::kBiBitfields, {0xF800, 0x07E0, 0x001F}),
     {MakeArgb(255, 0, 0), MakeArgb(0, 255, 0), MakeArgb(0, 0, 255), MakeArgb(132, 130, 132), MakeArgb(255, 255, 255), kBlack},
     false},
    {"bpp24", Spec(24, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}),
     {MakeArgb(0x11, 0x22, 0x33), MakeArgb(0x44, 0x55, 0x66), MakeArgb(0x77, 0x88, 0x99), MakeArgb(0xAA, 0xBB, 0xCC),
      MakeArgb(0xDD, 0xEE, 0xFF), MakeArgb(1, 2, 3)},
     false},
    {"bpp32_alpha", Spec(32, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF, 0x01010101, 0xFFFFFFFF}),
     {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF, 0x01010101, 0xFFFFFFFF}, true},
    // No pixel has alpha: drawn like 24 bits, by the mask.
    {"bpp32_zero_alpha", Spec(32, {0x00FF0000, 0x00000000, 0x0000FF00, 0x000000FF, 0x00010101, 0x00FFFFFF}),
     {MakeArgb(255, 0, 0), kBlack, MakeArgb(0, 255, 0), MakeArgb(0, 0, 255), MakeArgb(1, 1, 1), MakeArgb(255, 255, 255)}, false},
    {"bpp32_bitfields", Spec(32, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF, 0x01010101, 0xFFFFFFFF}, {}, icon_files::kBiBitfields,
                             {0x00FF0000, 0x0000FF00, 0x000000FF}),
     {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF, 0x01010101, 0xFFFFFFFF}, true},
};

class DibDepthTest : public testing::TestWithParam<DepthCase> {};

TEST_P(DibDepthTest, DecodesKnownPixels) {
    const DepthCase& c = GetParam();
    const auto icon = Decode(MakeDib(c.spec));
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->width, 3);
    EXPECT_EQ(icon->height, 2);
    EXPECT_EQ(icon->blended, c.blended);
    EXPECT_EQ(icon->color, c.colour);
    EXPECT_EQ(icon->mask, kMask);
    const auto info = ProbeImage(Source(MakeDib(c.spec)), Blob{0, MakeDib(c.spec).size()});
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->depth, c.spec.bpp);
}

INSTANTIATE_TEST_SUITE_P(Depths, DibDepthTest, testing::ValuesIn(kDepths),
                         [](const auto& info) { return std::string(info.param.name); });

// Header fields at their limit, one past it, and at the field's maximum.
struct HeaderLimitCase {
    const char* name;
    std::size_t field;  // offset in BITMAPINFOHEADER
    std::uint32_t value;
    bool decodes;
};

const HeaderLimitCase kHeaderLimits[] = {
    {"width_1024", 4, 1024, true},
    {"width_1025", 4, 1025, false},
    {"width_max", 4, 0xFFFFFFFFu, false},  // -1 as a signed width
    {"width_int_max", 4, 0x7FFFFFFFu, false},
    {"height_2048_is_1024", 8, 2048, true},
    {"height_2050", 8, 2050, false},
    {"height_negative", 8, 0xFFFFFE00u, false},
    {"height_int_max", 8, 0x7FFFFFFFu, false},
    {"header_size_40", 0, 40, true},
    {"header_size_39", 0, 39, false},
    {"header_size_max", 0, 0xFFFFFFFFu, false},
    {"depth_2", 14, 2, false},
    {"compression_rle8", 16, 1, false},
    {"clr_used_256", 32, 256, true},
    {"clr_used_257", 32, 257, false},
    {"clr_used_max", 32, 0xFFFFFFFFu, false},
};

class DibHeaderLimitTest : public testing::TestWithParam<HeaderLimitCase> {};

TEST_P(DibHeaderLimitTest, DecodesOnlyWithinLimits) {
    const HeaderLimitCase& c = GetParam();
    // 8 bits with a full palette: large enough for a 1024x1024 picture whatever the field says.
    DibSpec s = icon_files::SolidDib(1024, 1024, 8, kB);
    s.palette.resize(256, kA);
    Bytes b = MakeDib(s);
    icon_files::Put32(b, c.field, c.value);
    if (c.field == 14) icon_files::Put16(b, 14, static_cast<std::uint16_t>(c.value));
    EXPECT_EQ(Decode(b).has_value(), c.decodes);
    EXPECT_EQ(ProbeImage(Source(b), Blob{0, b.size()}).has_value(), c.decodes);
}

INSTANTIATE_TEST_SUITE_P(Limits, DibHeaderLimitTest, testing::ValuesIn(kHeaderLimits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DibDecoder, NeedsEveryByteOfColourAndMask) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        const Bytes b = MakeDib(icon_files::SolidDib(32, 32, bpp, kB));
        EXPECT_TRUE(DecodeImage(Source(b), Blob{0, b.size()}).has_value());
        EXPECT_FALSE(DecodeImage(Source(b), Blob{0, b.size() - 1}).has_value());
        // A blob that claims more than the file holds still fails cleanly.
        const Bytes cut(b.begin(), b.end() - 1);
        EXPECT_FALSE(DecodeImage(Source(cut), Blob{0, b.size()}).has_value());
    }
}

struct PngCase {
    const char* name;
    PngKind kind;
    int depth;
    std::vector<Argb> expected;  // what the four input pixels decode to
};

const std::vector<Argb> kPngPixels = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF808080};

const PngCase kPngs[] = {
    {"rgba8", PngKind::Rgba8, 32, kPngPixels},
    {"rgba16", PngKind::Rgba16, 64, kPngPixels},
    {"rgb8", PngKind::Rgb8, 24, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080}},
    {"palette8", PngKind::Palette8, 8, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080}},
    {"gray8", PngKind::Gray8, 8, {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF808080}},
    {"gray_alpha8", PngKind::GrayAlpha8, 16, {0xFFFFFFFF, 0x80000000, 0x00000000, 0xFF808080}},
};

class PngTest : public testing::TestWithParam<PngCase> {};

TEST_P(PngTest, DecodesKnownPixelsAndDepth) {
    const PngCase& c = GetParam();
    const Bytes b = MakePng(2, 2, kPngPixels, c.kind);
    const auto info = ProbeImage(Source(b), Blob{0, b.size()});
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(info->png);
    EXPECT_EQ(info->depth, c.depth);
    const auto icon = Decode(b);
    ASSERT_TRUE(icon.has_value());
    EXPECT_TRUE(icon->blended);
    EXPECT_EQ(icon->color, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PngTest, testing::ValuesIn(kPngs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PngDecoder, SideLimitAndTruncation) {
    struct Case {
        const char* name;
        int width;
        int height;
        bool decodes;
    } cases[] = {{"width_1024", 1024, 1, true}, {"width_1025", 1025, 1, false}, {"height_1025", 1, 1025, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes b = MakePng(c.width, c.height, std::vector<Argb>(static_cast<std::size_t>(c.width) * c.height, kA));
        EXPECT_EQ(Decode(b).has_value(), c.decodes);
    }
    Bytes b = MakePng(2, 2, kPngPixels);
    icon_files::Put32(b, 16, 0xFFFFFFFFu);  // IHDR width at its maximum
    EXPECT_FALSE(ProbeImage(Source(b), Blob{0, b.size()}).has_value());
    EXPECT_FALSE(Decode(b).has_value());

    const Bytes whole = MakePng(16, 16, std::vector<Argb>(256, kA));
    for (std::size_t cut : {std::size_t{8}, std::size_t{33}, whole.size() / 2}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(DecodeImage(Source(whole), Blob{0, cut}).has_value());
    }
}

}  // namespace
}  // namespace icon_tests
