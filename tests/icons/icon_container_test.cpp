// What a file opens as, and which image of a group with broken images is
// drawn: describe tells it from the headers, extract by decoding, and the
// two must agree for every container.
#include "icons/icon_file.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using namespace icon_files;
using icons::ContainerKind;

const Argb kGreen = MakeArgb(0, 255, 0), kBlue = MakeArgb(0, 0, 255);
const std::vector<GroupImage> kOne = {{1, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, kGreen))}};

Bytes Pe(const std::vector<GroupImage>& images) {
    PeSpec s;
    s.resources = IconResources({{{1, {}}, images}});
    return MakePe(s).bytes;
}

Bytes Ico(const std::vector<GroupImage>& images) {
    std::vector<IcoEntry> entries;
    for (const GroupImage& g : images) entries.push_back({g.width, g.height, 0, 1, g.bitCount, g.image});
    return MakeIco(entries);
}

TEST(IconContainer, EachFileOpensAsTheFirstKindItIs) {
    NeSpec ne;
    ne.resources = NeIconResources({kOne});
    Bytes outside = Ico(kOne);
    Put32(outside, IcoEntryOffset(0) + 12, 0xFFFF);  // the only image lies past the end
    const struct {
        const char* name;
        Bytes file;
        ContainerKind kind;
        int count;
    } cases[] = {
        {"pe", Pe(kOne), ContainerKind::kPe, 1},
        {"ne", MakeNe(ne).bytes, ContainerKind::kNe, 1},
        {"ani", MakeList("ACON", {MakeList("fram", {MakeChunk("icon", Ico(kOne))})}, "RIFF"), ContainerKind::kAni, 1},
        {"ico", Ico(kOne), ContainerKind::kIco, 1},
        {"ico_of_no_image", outside, ContainerKind::kIco, 0},
        {"text", Bytes(64, 'x'), ContainerKind::kNone, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto source = Source(c.file);
        const icons::IconFile file(source);
        EXPECT_EQ(file.kind(), c.kind);
        EXPECT_EQ(file.count(), c.count);
    }
}

TEST(IconContainer, DescribeShowsTheImageExtractDraws) {
    Bytes png = MakePng(32, 32, std::vector<Argb>(32 * 32, MakeArgb(255, 0, 0)));
    png[png.size() - 16] ^= 0xFF;  // the image data's checksum: the header still reads
    ASSERT_FALSE(icons::DecodeImageBytes(icons::ByteView(png)));
    Bytes unreadable = MakeDib(SolidDib(48, 48, 32, kBlue));
    Put32(unreadable, 0, 0);  // no header size
    const GroupImage brokenPng{1, 32, 32, 32, png}, noHeader{2, 48, 48, 32, unreadable},
        green{3, 32, 32, 8, MakeDib(SolidDib(32, 32, 8, kGreen))}, blue{4, 16, 16, 24, MakeDib(SolidDib(16, 16, 24, kBlue))};
    // Each group's images, and the colour each draws (0: none).
    const struct {
        const char* name;
        std::vector<GroupImage> images;
        std::vector<Argb> colours;
    } cases[] = {
        {"png_best", {brokenPng, green, blue}, {0, kGreen, kBlue}},
        {"header_best", {noHeader, green, blue}, {0, kGreen, kBlue}},
        {"none_draws", {brokenPng, noHeader}, {0, 0}},
    };
    for (const auto& c : cases) {
        for (const Bytes& bytes : {Pe(c.images), Ico(c.images)}) {
            const auto source = Source(bytes);
            const icons::IconFile file(source);
            for (const int size : {16, 32, 48}) {
                SCOPED_TRACE(testing::Message() << c.name << " " << static_cast<int>(file.kind()) << " at " << size);
                const auto drawn = file.extract(0, size);
                const int shown = file.describe(0, size).value().shown;
                ASSERT_EQ(drawn.has_value(), shown >= 0);
                if (drawn) {
                    EXPECT_EQ(drawn->color[size * size / 2] & 0x00FFFFFFu, c.colours[shown] & 0x00FFFFFFu);
                }
            }
        }
    }
}

}  // namespace
}  // namespace icon_tests
