#include <algorithm>

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
        EXPECT_EQ(platform::icons::CountIconsInFile(path), c.count);
        const auto icon = platform::icons::ExtractIconFromFile(path, 0);
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
    const platform::Bitmap cell = Drawn(*icon, MakeArgb(255, 255, 255));
    EXPECT_EQ(cell.at(0, 0), MakeArgb(0, 255, 0));
    EXPECT_EQ(cell.at(1, 0), MakeArgb(255, 127, 127));
    EXPECT_EQ(cell.at(2, 0), MakeArgb(255, 255, 255));
}

// A file in memory that hands out every byte through read, and keeps where.
struct RecordingSource : platform::icons::MemorySource {
    explicit RecordingSource(const Bytes& b) : MemorySource(b.data(), b.size()) {}
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override {
        reads.emplace_back(offset, n);
        return MemorySource::read(offset, dst, n);
    }
    const std::uint8_t* peek(std::uint64_t, std::size_t) const override { return nullptr; }
    mutable std::vector<std::pair<std::uint64_t, std::size_t>> reads;
};

// A resource group is chosen from by its directory, as Windows does, once the
// chosen image's own header bears its claim out; only that image is read.
// Where it does not, or an entry claims no depth, the headers decide.
TEST(ExtractIcon, AResourceGroupChoosesByItsDirectory) {
    const Argb kGreen = MakeArgb(0, 255, 0);
    struct Entry {
        int side, depth;  // claimed
        int headerSide, headerDepth;
        Argb colour;
        bool whole = true;
    };
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        Argb drawn;
    } cases[] = {
        {"claims_true", {{16, 32, 16, 32, kGreen}, {32, 8, 32, 8, kGreen}, {32, 32, 32, 32, kRed}}, kRed},
        // By headers the second would win: 32x32 too, and deeper.
        {"chosen_claim_borne_out", {{32, 8, 32, 8, kRed}, {16, 32, 32, 32, kGreen}}, kRed},
        {"chosen_claim_false", {{32, 32, 16, 32, kGreen}, {16, 8, 32, 8, kRed}}, kRed},
        {"a_claim_without_depth", {{32, 0, 32, 32, kRed}, {32, 8, 32, 8, kGreen}}, kRed},
        {"chosen_image_cut_short", {{32, 32, 32, 32, kGreen, false}, {32, 8, 32, 8, kRed}}, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<icon_files::GroupImage> images;
        for (const Entry& e : c.entries) {
            Bytes dib = MakeDib(SolidDib(e.headerSide, e.headerSide, e.headerDepth, e.colour));
            if (!e.whole) dib.resize(dib.size() / 2);
            images.push_back({static_cast<std::uint16_t>(images.size() + 1), static_cast<std::uint8_t>(e.side),
                              static_cast<std::uint8_t>(e.side), static_cast<std::uint16_t>(e.depth), dib});
        }
        icon_files::PeSpec spec;
        spec.resources = icon_files::IconResources({{{1, {}}, images}});
        const Bytes pe = icon_files::MakePe(spec).bytes;
        const RecordingSource file(pe);
        const auto icon = platform::icons::ExtractIcon(file, 0);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(icon->color.at(16 * 32 + 16), c.drawn);
        if (c.name == std::string("claims_true")) {
            // Not a byte of the images passed over.
            for (std::size_t i = 0; i < 2; ++i) {
                const auto at = static_cast<std::uint64_t>(
                    std::search(pe.begin(), pe.end(), images[i].image.begin(), images[i].image.end()) - pe.begin());
                for (const auto& [offset, n] : file.reads)
                    EXPECT_TRUE(offset + n <= at || offset >= at + images[i].image.size()) << offset;
            }
        }
    }
}

}  // namespace
}  // namespace icon_tests
