// Animated cursors: each frame is an icon, read as if it were its own file,
// however the chunks around it are ordered, nested, padded or cut short.
#include "icons/ani_reader.h"
#include "icons/icon_file.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using namespace icon_files;

Bytes Patched(Bytes b, std::size_t at, std::uint32_t v) { return Put32(b, at, v), b; }
Bytes Cut(Bytes b, std::size_t keep) { return b.resize(keep), b; }
Bytes Riff(const std::vector<Bytes>& chunks) { return MakeList("ACON", chunks, "RIFF"); }

// Two cursors, an icon of two images, and one made odd in length (bytes past its images change nothing).
const std::vector<Bytes> kFrames = {
    MakeIco({{32, 32, 0, 5, 7, MakeDib(SolidDib(32, 32, 1, MakeArgb(255, 0, 0)))}}, 2),
    MakeIco({{32, 32, 0, 9, 9, MakeDib(SolidDib(32, 32, 32, MakeArgb(0, 255, 0)))}}, 2),
    MakeIco({{16, 16, 0, 1, 4, MakeDib(SolidDib(16, 16, 4, MakeArgb(0, 0, 255)))}, {32, 32, 0, 1, 8, MakeDib(SolidDib(32, 32, 8, 0))}}),
    [](Bytes b) { return Cut(b, b.size() | 1); }(MakeIco({{2, 2, 0, 1, 32, MakePng(2, 2, std::vector<Argb>(4, MakeArgb(1, 2, 3, 200)))}}))};
Bytes Icon(std::size_t i) { return MakeChunk("icon", i < kFrames.size() ? kFrames[i] : Bytes{'n', 'o'}); }
const Bytes kHeader = MakeChunk("anih", Bytes(36, 0)), kTwo = Riff({kHeader, MakeList("fram", {Icon(0), Icon(1)})});
const std::size_t kLastSize = kTwo.size() - kFrames[1].size() - 4;  // the second frame's chunk size

// `frames`: which of kFrames each frame holds; -1 for one that holds no icon.
struct AniCase { const char* name; std::function<Bytes()> file; std::vector<int> frames; };

const AniCase kCases[] = {
    {"cursor_frames", [] { return kTwo; }, {0, 1}},
    {"icon_frames_seq_info", [] { return Riff({MakeList("INFO", {MakeChunk("INAM", {'W', 0, 0})}), kHeader, MakeChunk("seq ", Bytes(16, 1)), MakeList("fram", {Icon(2), Icon(3), Icon(2)})}); }, {2, 3, 2}},
    {"frames_before_header", [] { return Riff({MakeList("fram", {Icon(3), Icon(1)}), kHeader}); }, {3, 1}},
    {"header_claims_more", [] { return Riff({MakeChunk("anih", Patched(Bytes(36, 0), 4, 0xFFFFFFFFu)), MakeList("fram", {Icon(1)})}); }, {1}},
    {"odd_and_nested_skipped", [] { return Riff({MakeChunk("odd ", {1}), MakeList("fram", {MakeChunk("odd ", {9}), Icon(3), MakeList("fram", {Icon(1)}), Icon(0)})}); }, {3, 0}},
    {"fram_in_info_not_read", [] { return Riff({MakeList("INFO", {MakeList("fram", {Icon(1)})}), MakeList("fram", {Icon(2)})}); }, {2}},
    {"frames_holding_no_icon", [] { return Riff({MakeList("fram", {Icon(9), MakeChunk("icon", {}), Icon(1)})}); }, {-1, -1, 1}},
    {"riff_size_max", [] { return Patched(kTwo, 4, 0xFFFFFFFFu); }, {0, 1}},
    // The file's own size field is not trusted when it is 0 or reaches past the end: the file's length counts.
    {"riff_size_zero", [] { return Patched(kTwo, 4, 0); }, {0, 1}},
    {"riff_size_one_byte_over", [] { return Patched(kTwo, 4, static_cast<std::uint32_t>(kTwo.size() - 7)); }, {0, 1}},
    {"riff_size_zero_cut_in_frame", [] { return Cut(Patched(kTwo, 4, 0), kTwo.size() - 1); }, {0}},
    {"riff_size_zero_frame_past_end", [] { return Patched(Patched(kTwo, 4, 0), kLastSize, static_cast<std::uint32_t>(kFrames[1].size() + 1)); }, {0}},
    {"riff_size_too_small_for_form", [] { return Patched(kTwo, 4, 3); }, {}},
    {"riff_one_byte_short", [] { return Patched(kTwo, 4, static_cast<std::uint32_t>(kTwo.size() - 9)); }, {0}},
    {"frame_one_byte_over", [] { return Patched(kTwo, kLastSize, static_cast<std::uint32_t>(kFrames[1].size() + 1)); }, {0}},
    {"frame_size_max", [] { return Patched(kTwo, kLastSize, 0xFFFFFFFFu); }, {0}},
    {"cut_in_chunk_header", [] { return Cut(kTwo, kLastSize); }, {0}},
    {"form_not_acon", [] { return Patched(kTwo, 8, 0x45564157); }, {}},
    {"frames_past_cap", [] { return Riff({MakeList("fram", std::vector<Bytes>(icons::ani::kMaxFrames + 1, MakeChunk("icon", {})))}); }, std::vector<int>(icons::ani::kMaxFrames, -1)},
    {"only_empty_chunks", [] { return Riff({Bytes(8 * icons::ani::kMaxChunks, 0), MakeList("fram", {Icon(0)})}); }, {}},
};

class AniTest : public testing::TestWithParam<AniCase> {};

TEST_P(AniTest, EachFrameIsItsOwnIconFile) {
    const Bytes bytes = GetParam().file();
    const auto source = Source(bytes);
    const icons::IconFile file(source);
    ASSERT_EQ(file.count(), static_cast<int>(GetParam().frames.size()));
    for (int k = 0; k < file.count(); ++k) {
        const int held = GetParam().frames[static_cast<std::size_t>(k)];
        const auto own = held < 0 ? std::nullopt : std::optional(kFrames[static_cast<std::size_t>(held)]);
        EXPECT_EQ(file.fileBytes(k), own) << k;
        const auto icon = file.extract(k), alone = own ? icons::ExtractIcon(Source(*own), 0) : std::nullopt;
        ASSERT_EQ(icon.has_value(), alone.has_value()) << k;
        if (!own) continue;
        EXPECT_EQ(Drawn(*icon, 0).pixels, Drawn(*alone, 0).pixels) << k;
        EXPECT_EQ(file.describe(k)->cursor, icons::DescribeIcon(Source(*own), 0)->cursor) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, AniTest, testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace icon_tests
