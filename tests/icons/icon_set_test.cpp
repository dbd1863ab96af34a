// The hicolor icon set: which sizes are written, and each one the chosen image
// exactly as stored, scaled down, or fitted and centred; and the name rules.
#include "icons/icon_set.h"

#include "icons/icon_file.h"
#include "icons/image_decoder.h"
#include "test_support.h"

namespace icon_tests {
namespace {

// Image `tag` of a test icon: a one-pixel checkerboard whose red is the tag,
// so a scaled copy still tells its source by its red and only an exact copy
// keeps the checkerboard.
Argb Checker(int tag, int x, int y) { return MakeArgb(tag, (x + y) % 2 ? 255 : 0, 0); }

struct Stored {
    int width, height;
    bool png;
};

struct Written {
    int size;
    int tag;          // red of the image it must come from: 10 + its place in the icon
    bool exact;       // the checkerboard as stored
    int boxW, boxH;   // the opaque part, centred; the rest transparent
};

struct SetCase {
    const char* name;
    std::vector<Stored> images;
    int index;
    std::vector<Written> written;
};

Bytes IconWith(const std::vector<Stored>& images) {
    std::vector<icon_files::IcoEntry> entries;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [w, h, png] = images[i];
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(Checker(10 + static_cast<int>(i), x, y));
        icon_files::DibSpec dib{.width = w, .height = h, .pixels = pixels};
        entries.push_back({static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h), 0, 1, 32,
                           png ? icon_files::MakePng(w, h, {pixels.begin(), pixels.end()}) : icon_files::MakeDib(dib)});
    }
    return icon_files::MakeIco(entries);
}

class IconSetTest : public testing::TestWithParam<SetCase> {};

TEST_P(IconSetTest, WritesEachSizeUpToTheLargestFromTheChosenImage) {
    const SetCase& c = GetParam();
    const Bytes ico = IconWith(c.images);
    const auto source = Source(ico);
    const auto set = icons::MakeIconSet(icons::IconFile(source), c.index);
    ASSERT_EQ(set.size(), c.written.size());
    for (std::size_t i = 0; i < set.size(); ++i) {
        const Written& w = c.written[i];
        SCOPED_TRACE(w.size);
        EXPECT_EQ(set[i].size, w.size);
        const auto back = icons::DecodePngBytes(icons::ByteView(set[i].png));
        ASSERT_TRUE(back);
        ASSERT_EQ(back->width, w.size);
        ASSERT_EQ(back->height, w.size);
        const int left = (w.size - w.boxW) / 2, top = (w.size - w.boxH) / 2;
        for (int y = 0; y < w.size; ++y) {
            for (int x = 0; x < w.size; ++x) {
                const Argb p = back->color[static_cast<std::size_t>(y) * w.size + x];
                const bool inside = x >= left && x < left + w.boxW && y >= top && y < top + w.boxH;
                ASSERT_EQ(pixels::AlphaOf(p), inside ? 255 : 0) << x << "," << y;
                if (!inside) continue;
                if (w.exact) ASSERT_EQ(p, Checker(w.tag, x, y)) << x << "," << y;
                else ASSERT_NEAR(pixels::RedOf(p), w.tag, 1) << x << "," << y;
            }
        }
        // A scaled copy blends the checkerboard: had it been copied, it would still alternate.
        if (!w.exact) EXPECT_NE(back->color[top * w.size + left], Checker(w.tag, left, top));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, IconSetTest,
    testing::ValuesIn(std::vector<SetCase>{
        {"exact_and_scaled_from_the_next_larger", {{16, 16, false}, {32, 32, false}, {48, 48, false}}, 0,
         {{16, 10, true, 16, 16}, {22, 11, false, 22, 22}, {24, 11, false, 24, 24}, {32, 11, true, 32, 32},
          {48, 12, true, 48, 48}}},
        {"a_png_256_up_to_256_not_512", {{48, 48, false}, {256, 256, true}}, 0,
         {{16, 10, false, 16, 16}, {22, 10, false, 22, 22}, {24, 10, false, 24, 24}, {32, 10, false, 32, 32},
          {48, 10, true, 48, 48}, {64, 11, false, 64, 64}, {96, 11, false, 96, 96}, {128, 11, false, 128, 128},
          {256, 11, true, 256, 256}}},
        {"between_sizes_stops_below", {{40, 40, false}}, 0,
         {{16, 10, false, 16, 16}, {22, 10, false, 22, 22}, {24, 10, false, 24, 24}, {32, 10, false, 32, 32}}},
        {"tall_fitted_and_centred", {{20, 40, false}}, 0,
         {{16, 10, false, 8, 16}, {22, 10, false, 11, 22}, {24, 10, false, 12, 24}, {32, 10, false, 16, 32}}},
        {"wide_fitted_and_centred", {{35, 24, false}}, 0,
         {{16, 10, false, 16, 11}, {22, 10, false, 22, 15}, {24, 10, false, 24, 16}, {32, 10, false, 32, 22}}},
        {"smaller_than_16_nothing", {{12, 12, false}}, 0, {}},
        {"index_past_the_last", {{16, 16, false}}, 1, {}},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IconNames, DefaultAndExplicit) {
    const struct {
        const char* file;
        const char* name;
    } defaults[] = {
        {"Notepad.EXE", "notepad"},
        {"My Program (x86).exe", "my-program--x86-"},
        {"setup_1.2-beta.exe", "setup_1.2-beta"},
        {"\xE7\x94\xBB\xE5\x9B\xBE.exe", "--"},  // two Chinese characters, one '-' each
        {".hidden.exe", "-hidden"},
        {"noending", "noending"},
        {"+.exe", "-"},
    };
    for (const auto& d : defaults) EXPECT_EQ(icons::DefaultIconName(d.file), d.name) << d.file;
    const struct {
        const char* name;
        bool ok;
    } explicit_names[] = {{"np", true}, {"wine-notepad.2", true}, {"\xE7\x94\xBB", true}, {"", false},
                          {"a/b", false}, {"/", false},          {".np", false},        {"..", false}};
    for (const auto& n : explicit_names) EXPECT_EQ(icons::IconNameProblem(n.name) == nullptr, n.ok) << n.name;
}

}  // namespace
}  // namespace icon_tests
