#include "ani_reader.h"

#include <algorithm>

#include "ico_reader.h"
#include "riff_format.h"

namespace icons::ani {
namespace {

struct Chunk {
    std::uint32_t id = 0;
    std::uint32_t type = 0;  // a RIFF or LIST chunk's, when its body has room for one
    std::uint64_t body = 0;  // file offset
    std::uint64_t size = 0;  // as the chunk says, which may reach past what holds it
    std::uint64_t end() const { return body + size; }
    std::uint64_t next() const { return end() + (size & 1); }
};

// The header of the chunk at `at`, when it lies before `end`; its body is not
// checked. `outermost`: the file's own chunk, whose size is not trusted (see
// riff::kSizeToFileEnd).
std::optional<Chunk> ReadChunk(const ByteSource& src, std::uint64_t at, std::uint64_t end, bool outermost = false) {
    if (at > end || end - at < riff::chunk::kSize) return std::nullopt;
    // A list's type is read with its header when there is room for one.
    std::uint8_t bytes[riff::list::kSize];
    const std::uint64_t n = end - at >= riff::list::kSize ? riff::list::kSize : riff::chunk::kSize;
    if (!src.read(at, bytes, n)) return std::nullopt;
    const ByteView h(bytes, n);
    Chunk c;
    c.id = h.u32(riff::chunk::kId);
    c.size = h.u32(riff::chunk::kBodyBytes);
    c.body = at + riff::chunk::kSize;
    if (outermost && (c.size == riff::kSizeToFileEnd || c.size > end - c.body)) c.size = end - c.body;
    if (n == riff::list::kSize && c.size >= riff::list::kTypeBytes) c.type = h.u32(riff::list::kType);
    return c;
}

}  // namespace

std::optional<Frames> Frames::Open(const ByteSource& source) {
    const auto file = ReadChunk(source, 0, source.size(), true);
    if (!file || file->id != riff::kRiff || file->type != riff::kAcon) return std::nullopt;
    Frames frames(source);
    // Every chunk must lie inside the one that holds it and inside the file.
    // The first that does not ends its list: a file cut short keeps the
    // frames before the cut, as a cut .ico keeps its whole images.
    const std::uint64_t fileEnd = file->end();
    std::size_t budget = kMaxChunks;
    std::uint64_t at = file->body + riff::list::kTypeBytes;
    while (budget > 0) {
        --budget;
        const auto chunk = ReadChunk(source, at, fileEnd);
        if (!chunk) break;
        if (chunk->id == riff::kList && chunk->type == riff::kFram) {
            // Only the first frame list counts; whatever follows it is never read.
            const std::uint64_t listEnd = std::min(chunk->end(), fileEnd);
            std::uint64_t inner = chunk->body + riff::list::kTypeBytes;
            while (budget > 0 && frames.frames_.size() < kMaxFrames) {
                --budget;
                const auto c = ReadChunk(source, inner, listEnd);
                if (!c || c->end() > listEnd) break;
                // Anything else here, a nested list too, is no frame.
                if (c->id == riff::kIcon) frames.frames_.push_back({c->body, c->size});
                inner = c->next();
            }
            break;
        }
        if (chunk->end() > fileEnd) break;
        at = chunk->next();
    }
    return frames;
}

std::optional<Blob> Frames::frame(int index) const {
    if (index < 0 || index >= count()) return std::nullopt;
    return frames_[static_cast<std::size_t>(index)];
}

std::optional<RawGroup> Frames::group(int index) const {
    const auto at = frame(index);
    if (!at) return std::nullopt;
    const SliceSource file(*src_, at->offset, at->size);
    auto g = ico::Group(file);
    if (!g || g->images.empty()) return std::nullopt;
    for (ImageRef& r : g->images) r.blob.offset += at->offset;
    return g;
}

}  // namespace icons::ani
