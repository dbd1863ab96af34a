#include <limits>
#include <vector>

#include <sys/stat.h>

#include "icons/byte_view.h"
#include "test_support.h"

namespace icon_tests {
namespace {

using icons::ByteSource;
using icons::FileSource;
using icon_files::Get32;

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

struct RangeCase {
    const char* name;
    std::uint64_t offset;
    std::size_t n;
    bool ok;
};

// Over a 16-byte source.
const RangeCase kRanges[] = {
    {"whole", 0, 16, true},
    {"exact_fit_at_end", 12, 4, true},
    {"one_byte_over", 13, 4, false},
    {"empty_at_end", 16, 0, true},
    {"offset_past_end", 17, 0, false},
    {"offset_max", kMax, 1, false},
    {"length_max", 1, std::numeric_limits<std::size_t>::max(), false},
};

Bytes Counting() {
    Bytes b(16);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i + 1);
    return b;
}

void CheckRanges(const ByteSource& src) {
    ASSERT_EQ(src.size(), 16u);
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(c.name);
        std::uint8_t buf[16] = {};
        // The length_max case must fail before touching `buf`.
        EXPECT_EQ(src.read(c.offset, buf, c.n), c.ok);
        if (c.ok && c.n > 0) {
            EXPECT_EQ(buf[0], c.offset + 1);
        }
    }
}

TEST(ByteSource, MemorySourceChecksEveryRange) {
    const Bytes b = Counting();
    CheckRanges(Source(b));
}

TEST(ByteSource, FileSourceChecksEveryRange) {
    TempDir dir;
    const FileSource f(dir.file("sixteen", Counting()));
    ASSERT_TRUE(f.ok());
    CheckRanges(f);
}

// Window sizes, largest window and number of windows the buffered source is tried with.
struct Buffering { const char* name; std::size_t window, largest, windows; };
const Buffering kBufferings[] = {
    {"one_window", 5, 5, 1},
    {"growing_windows", 2, 8, 3},
    {"windows_larger_than_the_source", 3, 64, 2},
};

TEST(ByteSource, BufferedSourceChecksEveryRange) {
    const Bytes b = Counting();
    const auto inner = Source(b);
    for (const Buffering& c : kBufferings) {
        SCOPED_TRACE(c.name);
        CheckRanges(icons::BufferedSource(inner, c.window, c.largest, c.windows));
    }
}

// Reads in an order that hits the window, straddles its end, goes backwards and
// reaches the source's end; every byte must match the source's.
TEST(ByteSource, BufferedSourceReturnsTheSourceBytes) {
    const Bytes b = Counting();
    const auto inner = Source(b);
    const std::pair<std::uint64_t, std::size_t> reads[] = {{0, 2}, {3, 2}, {4, 3}, {15, 1}, {1, 1}, {12, 4},
                                                           {11, 5}, {0, 16}, {14, 2}, {13, 3}, {9, 2}, {8, 1}};
    for (const Buffering& c : kBufferings) {
        const icons::BufferedSource buffered(inner, c.window, c.largest, c.windows);
        for (const auto& [offset, n] : reads) {
            SCOPED_TRACE(testing::Message() << c.name << " " << offset << "+" << n);
            std::uint8_t buf[16] = {};
            ASSERT_TRUE(buffered.read(offset, buf, n));
            for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(buf[i], offset + i + 1);
            // What a decoder reads in place is the same bytes.
            const std::uint8_t* held = buffered.peek(offset, n);
            EXPECT_EQ(held != nullptr, n != 0 && n <= c.largest);
            for (std::size_t i = 0; held && i < n; ++i) EXPECT_EQ(held[i], offset + i + 1);
        }
    }
}

// A megabyte whose every byte is its offset's low byte; counts the reads that reach it.
struct CountingSource : ByteSource {
    std::uint64_t size() const override { return 1u << 20; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) const override {
        for (std::size_t i = 0; i < n; ++i) static_cast<std::uint8_t*>(dst)[i] = static_cast<std::uint8_t>(offset + i);
        return contains(offset, n) && ++reads > 0;
    }
    mutable int reads = 0;
};

// Sixteen bytes at each offset, each as the counting source made them.
void ReadSixteenBytesAt(const icons::BufferedSource& buffered, const std::vector<std::uint64_t>& offsets) {
    for (const std::uint64_t at : offsets) {
        std::uint8_t buf[16] = {};
        ASSERT_TRUE(buffered.read(at, buf, sizeof buf));
        EXPECT_EQ(buf[15], static_cast<std::uint8_t>(at + 15));
    }
}

// Back and forth between groups and their images, or down a group's images:
// one read of the file per area, not one per visit.
TEST(ByteSource, BufferedSourceKeepsAWindowPerArea) {
    constexpr std::uint64_t kGroups = 900000, kImages = 300000;
    struct Case {
        const char* name;
        std::vector<std::uint64_t> offsets;  // 16-byte reads
        int reads;
    } cases[] = {
        {"groups_and_images", {kGroups, kImages, kGroups + 100, kImages + 3000, kGroups + 200, kImages + 6000}, 2},
        {"images_last_first", {kImages + 9000, kImages + 6000, kImages + 3000, kImages}, 2},
        {"far_jump_back_reads_forward", {kGroups, kImages, kImages + 9000}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CountingSource file;
        const icons::BufferedSource buffered(file, 16u << 10, 16u << 10, 2);
        ReadSixteenBytesAt(buffered, c.offsets);
        EXPECT_EQ(file.reads, c.reads);
    }
}

// A range said to be coming is read whole at its first miss, and only then;
// one past the largest window is not, nor does it change reads elsewhere.
TEST(ByteSource, BufferedSourceReadsAnExpectedRangeWhole) {
    constexpr std::uint64_t kAt = 300000;
    struct Case {
        const char* name;
        std::uint64_t length;                // expected from kAt
        std::vector<std::uint64_t> offsets;  // 16-byte reads
        int reads;
    } cases[] = {
        {"range_in_one_read", 40000, {kAt + 20000, kAt, kAt + 39984}, 1},
        {"largest_window_exactly", 64u << 10, {kAt, kAt + (64u << 10) - 16}, 1},
        {"one_byte_over_the_largest", (64u << 10) + 1, {kAt, kAt + (64u << 10) - 16}, 2},
        {"reads_elsewhere_keep_their_window", 40000, {900000, 900100, kAt + 30000, kAt}, 2},
        {"straddling_read_leaves_the_range_coming", 40000, {kAt + 39990, kAt, kAt + 30000}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CountingSource file;
        const icons::BufferedSource buffered(file, 4096, 64u << 10, 2);
        buffered.expect(kAt, c.length);
        ReadSixteenBytesAt(buffered, c.offsets);
        EXPECT_EQ(file.reads, c.reads);
    }
}

// The view the readers parse with fails the same ranges, for sub-views and for
// fields, and the failure sticks to the view that was asked.
TEST(ByteView, ChecksEveryRange) {
    const Bytes b = Counting();
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(c.name);
        const icons::ByteView v(b);
        const icons::ByteView s = v.sub(c.offset, c.n);
        EXPECT_EQ(s.failed(), !c.ok);
        EXPECT_EQ(v.failed(), !c.ok);
        EXPECT_EQ(s.size(), c.ok ? c.n : 0u);
        // A field of four bytes at the same place fits when four bytes do.
        const icons::ByteView w(b);
        const std::uint32_t field = w.u32(c.offset);
        EXPECT_EQ(w.failed(), !(c.offset <= 12));
        if (!w.failed()) {
            EXPECT_EQ(field, Get32(b, static_cast<std::size_t>(c.offset)));
        }
        EXPECT_EQ(field == 0, w.failed());
    }
}

TEST(ByteSource, FileSourceRefusesWhatIsNoRegularFile) {
    TempDir dir;
    EXPECT_FALSE(FileSource(dir.path() + "/missing").ok());
    EXPECT_FALSE(FileSource(dir.path()).ok());
    // With no writer, opening a FIFO to read would wait for ever.
    ASSERT_EQ(::mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
    EXPECT_FALSE(FileSource(dir.path() + "/fifo").ok());
    EXPECT_EQ(icons::CountIconsInFile(dir.path()), 0);
    EXPECT_FALSE(icons::ExtractIconFromFile(dir.path() + "/missing", 0).has_value());
}

}  // namespace
}  // namespace icon_tests
