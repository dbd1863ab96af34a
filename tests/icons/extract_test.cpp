#include <array>
#include <cstdlib>

#include "test_support.h"

namespace icon_tests {
namespace {

using icon_files::MakeDib;
using icon_files::MakeIco;
using icon_files::SolidDib;

const Argb kRed = MakeArgb(255, 0, 0);

Bytes RedPe() {
    icon_files::PeSpec s;
    s.resources = icon_files::IconResources({{{1, {}}, {{1, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, kRed))}}}});
    return icon_files::MakePe(s).bytes;
}

Bytes RedNe() {
    icon_files::NeSpec s;
    s.resources = icon_files::NeIconResources({{{1, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, kRed))}}});
    return icon_files::MakeNe(s).bytes;
}

// Decided by what the file holds; the name says nothing.
TEST(ExtractIcon, ContentDecidesNotTheName) {
    TempDir dir;
    Bytes text = {'M', 'Z'};
    text.resize(4096, 'x');
    struct Case {
        const char* fileName;
        Bytes content;
        int count;
    } cases[] = {
        {"readme.txt", RedPe(), 1},
        {"noextension", RedNe(), 1},
        {"picture.bmp", MakeIco({{32, 32, 0, 1, 8, MakeDib(SolidDib(32, 32, 8, kRed))}}), 1},
        {"program.exe", text, 0},
        {"library.dll", Bytes(), 0},
        {"icon.ico", Bytes(3, 0), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        const std::string path = dir.file(c.fileName, c.content);
        EXPECT_EQ(icons::CountIconsInFile(path), c.count);
        const auto icon = icons::ExtractIconFromFile(path, 0);
        EXPECT_EQ(icon.has_value(), c.count > 0);
        if (icon) {
            EXPECT_EQ(icon->color.at(0), kRed);
        }
    }
}

TEST(ExtractIcon, AlwaysStandardSize) {
    for (int side : {1, 16, 31, 33, 48, 256}) {
        SCOPED_TRACE(side);
        const auto icon = IconOf(MakeIco({{static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 1, 24,
                                           MakeDib(SolidDib(side, side, 24, kRed))}}));
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->width, 32);
        EXPECT_EQ(icon->height, 32);
        EXPECT_EQ(icon->color.size(), 32u * 32u);
        EXPECT_EQ(icon->mask.size(), 32u * 32u);
    }
}

TEST(ExtractIcon, AlphaImagesBlendAndIgnoreTheirMask) {
    icon_files::DibSpec s = SolidDib(32, 32, 32, MakeArgb(0, 0, 0, 0));
    s.pixels[0] = 0xFF00FF00u;     // opaque green
    s.pixels[1] = 0x80FF0000u;     // half red
    s.mask.assign(32 * 32, 0);     // a mask that says "paint everything" is ignored
    const auto icon = IconOf(MakeIco({{32, 32, 0, 1, 32, MakeDib(s)}}));
    ASSERT_TRUE(icon.has_value());
    EXPECT_TRUE(icon->blended);
    const pixels::Bitmap cell = Drawn(*icon, MakeArgb(255, 255, 255));
    EXPECT_EQ(cell.at(0, 0), MakeArgb(0, 255, 0));
    EXPECT_EQ(cell.at(1, 0), MakeArgb(255, 127, 127));
    EXPECT_EQ(cell.at(2, 0), MakeArgb(255, 255, 255));
}

// A resource group is chosen from by its directory, as Windows does, once the
// chosen image's header bears its claim out; else, or where an entry claims
// no depth, the headers decide. Entries: claimed side and depth, the header's
// side and depth (negative: the image cut short).
TEST(ExtractIcon, AResourceGroupChoosesByItsDirectory) {
    const struct {
        const char* name;
        std::vector<std::array<int, 4>> entries;
        std::size_t drawn;
    } cases[] = {
        {"claims_true", {{16, 32, 16, 32}, {32, 8, 32, 8}, {32, 32, 32, 32}}, 2},
        {"chosen_claim_borne_out", {{32, 8, 32, 8}, {16, 32, 32, 32}}, 0},  // by headers the second
        {"chosen_claim_false", {{32, 32, 16, 32}, {16, 8, 32, 8}}, 1},
        {"a_claim_without_depth", {{32, 0, 32, 32}, {32, 8, 32, 8}}, 0},
        {"chosen_image_cut_short", {{32, 32, 32, -32}, {32, 8, 32, 8}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<icon_files::GroupImage> images;
        for (const auto& [side, depth, headerSide, headerDepth] : c.entries) {
            const Argb colour = MakeArgb(60 * static_cast<int>(images.size()), 9, 9);
            Bytes dib = MakeDib(SolidDib(headerSide, headerSide, std::abs(headerDepth), colour));
            if (headerDepth < 0) dib.resize(dib.size() / 2);
            images.push_back({static_cast<std::uint16_t>(images.size() + 1), static_cast<std::uint8_t>(side),
                              static_cast<std::uint8_t>(side), static_cast<std::uint16_t>(depth), dib});
        }
        icon_files::PeSpec spec;
        spec.resources = icon_files::IconResources({{{1, {}}, images}});
        const auto icon = IconOf(icon_files::MakePe(spec).bytes);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->color.at(16 * 32 + 16), MakeArgb(60 * static_cast<int>(c.drawn), 9, 9));
    }
}

}  // namespace
}  // namespace icon_tests
