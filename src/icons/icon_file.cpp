#include "icon_file.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "stretch.h"

namespace icons {
namespace {

// Images of a group that fail to decode are passed over for the next best,
// but a group made only of broken images must not cost a decode per entry.
constexpr int kMaxDecodeAttempts = 16;

// Every image of a group is probed before one is chosen. Their headers
// usually lie close together, and reading the stretch from the first to the
// last in one piece costs one read instead of one per image; the chosen
// image's bytes mostly lie inside it too.
Span HeadSpan(const std::vector<ImageRef>& refs) {
    Span s;
    for (const ImageRef& r : refs) {
        s.first = std::min(s.first, r.blob.offset);
        s.end = std::max(s.end, r.blob.offset + std::min(r.blob.size, kImageHeadBytes));
    }
    return s;
}

// The image the loader chooses by the group's directory alone, as Windows
// does for a resource group; -1 when some entry claims no depth, as an .ico
// written by a careless tool may, and only the headers can tell.
int DirectoryChoice(const std::vector<ImageRef>& refs, int size) {
    std::vector<Candidate> claims;
    claims.reserve(refs.size());
    for (const ImageRef& r : refs) {
        if (r.dirDepth == 0) return -1;
        claims.push_back({r.dirWidth, r.dirHeight, r.dirDepth});
    }
    return ChooseImage(claims, size);
}

// The image drawn for size x size pixels, by the loader's choice; -1 for
// none. A resource compiler copies each image's size and depth into its
// group's directory, so for a resource group the directory's choice is taken
// when the chosen image's own header bears its claim out: only that image is
// probed. Otherwise, and for a group read from an icon file, every image's
// header is probed and the choice made by what the headers say. `probe(k)`
// gives image k's header (as ProbeImage) and `draws(k)` whether image k
// decodes: one that does not is passed over for the next best.
template <class Probe, class Draws>
int ChooseDrawn(const std::vector<ImageRef>& refs, bool byDirectory, int size, const Probe& probe,
                const Draws& draws) {
    if (const int pick = byDirectory ? DirectoryChoice(refs, size) : -1; pick >= 0) {
        const ImageRef& r = refs[static_cast<std::size_t>(pick)];
        const std::optional<ImageInfo> info = probe(pick);
        if (info && info->width == r.dirWidth && info->height == r.dirHeight && info->depth == r.dirDepth &&
            draws(pick))
            return pick;
    }

    std::vector<int> positions(refs.size());
    std::iota(positions.begin(), positions.end(), 0);
    std::vector<Candidate> candidates;
    candidates.reserve(refs.size());
    for (std::size_t k = 0; k < refs.size(); ++k)
        candidates.push_back(CandidateFor(refs[k], probe(static_cast<int>(k))));

    for (int attempt = 0; attempt < kMaxDecodeAttempts && !candidates.empty(); ++attempt) {
        const int pick = ChooseImage(candidates, size);
        const int position = positions[static_cast<std::size_t>(pick)];
        if (draws(position)) return position;
        positions.erase(positions.begin() + pick);
        candidates.erase(candidates.begin() + pick);
    }
    return -1;
}

}  // namespace

IconFile::IconFile(const ByteSource& source, OpenOptions options)
    : src_(source), container_(OpenContainer(source, options)) {}

int IconFile::count() const { return container_->count(); }

ContainerKind IconFile::kind() const { return container_->kind(); }

std::optional<RawGroup> IconFile::nextGroup(int index) const {
    const auto it = ahead_.find(index);
    std::optional<RawGroup> g = it != ahead_.end() ? std::move(it->second) : container_->group(index);
    ahead_.erase(ahead_.begin(), ahead_.upper_bound(index));
    return g;
}

// What drawing a group reads: the image its directory chooses, or, where the
// headers choose, the stretch that holds them.
Span IconFile::needed(const RawGroup& g, int size) const {
    const int pick = container_->byDirectory() ? DirectoryChoice(g.images, size) : -1;
    if (pick < 0) return HeadSpan(g.images);
    const Blob& b = g.images[static_cast<std::size_t>(pick)].blob;
    return {b.offset, b.offset + b.size};
}

// A load takes the icons in order, and the groups that follow often keep their
// images right after these (a library of small icons): one window takes as
// many groups' images as fit in it. Where other images lie between the ones a
// load draws, a window that spans them copies bytes nothing uses, while each
// read of its own costs about as much as copying a few KiB: a file spends at
// most one window's worth of such bytes, then is read only where its icons are.
void IconFile::expectFrom(int index, const RawGroup& g, int size) const {
    Span span = needed(g, size);
    if (span.empty() || (span.first >= expected_.first && span.end <= expected_.end)) return;
    const int last = std::min(count() - 1, index + kGroupsAhead);
    for (int j = index + 1; j <= last; ++j) {
        auto it = ahead_.find(j);
        if (it == ahead_.end()) it = ahead_.emplace(j, container_->group(j)).first;
        if (!it->second) continue;
        const Span next = needed(*it->second, size);
        const Span more = span.with(next);
        if (more.size() > kReadAheadBytes) break;
        // The bytes the window grows by that the next group does not draw from.
        const std::uint64_t grown = more.size() - span.size();
        const std::uint64_t unused = grown > next.size() ? grown - next.size() : 0;
        if (container_->byDirectory()) {
            if (unused > spareBytes_) break;
            spareBytes_ -= unused;
        }
        span = more;
    }
    src_.expect(span.first, span.size());
    expected_ = span;
}

std::optional<Icon> IconFile::extract(int index, int size) const {
    size = std::clamp(size, kMinIconSize, kMaxIconSize);
    const auto g = nextGroup(index);
    if (!g) return std::nullopt;
    expectFrom(index, *g, size);
    const std::vector<ImageRef>& refs = g->images;
    std::optional<Icon> image;
    const int k = ChooseDrawn(
        refs, container_->byDirectory(), size,
        [&](int i) { return ProbeImage(src_, refs[static_cast<std::size_t>(i)].blob); },
        [&](int i) { return (image = DecodeImage(src_, refs[static_cast<std::size_t>(i)].blob)).has_value(); });
    if (k < 0) return std::nullopt;
    return StretchIcon(std::move(*image), size, size);
}

std::optional<IconDescription> IconFile::describe(int index, int size) const {
    const auto g = container_->group(index);
    if (!g) return std::nullopt;
    const std::vector<ImageRef>& refs = g->images;
    IconDescription d;
    d.name = g->name;
    d.cursor = g->cursor;
    d.images.reserve(refs.size());
    std::vector<std::optional<ImageInfo>> headers;
    headers.reserve(refs.size());
    if (const Span heads = HeadSpan(refs); !heads.empty()) src_.expect(heads.first, heads.size());
    for (const ImageRef& r : refs) {
        ImageDescription image{r.dirWidth, r.dirHeight, r.dirDepth, false,
                               static_cast<std::uint32_t>(std::min<std::uint64_t>(r.blob.size, UINT32_MAX))};
        headers.push_back(ProbeImage(src_, r.blob));
        if (const auto& info = headers.back()) {
            image.width = info->width;
            image.height = info->height;
            image.depth = info->depth;
            image.png = info->png;
        } else {
            image.png = IsPngSignature(src_, r.blob);
        }
        d.images.push_back(image);
    }
    // The image extract draws, chosen from the headers read above. Whether a
    // DIB decodes is settled by its header: one that reads decodes once all
    // its bytes are in the source, one that does not never decodes. A PNG's
    // data can be broken past its header, so only decoding it tells.
    const auto draws = [&](int k) {
        const auto i = static_cast<std::size_t>(k);
        const Blob& blob = refs[i].blob;
        if (!d.images[i].png) {
            if (!headers[i]) return false;
            if (src_.contains(blob.offset, blob.size)) return true;
        }
        return DecodeImage(src_, blob).has_value();
    };
    size = std::clamp(size, kMinIconSize, kMaxIconSize);
    d.shown = ChooseDrawn(refs, container_->byDirectory(), size,
                          [&](int k) { return headers[static_cast<std::size_t>(k)]; }, draws);
    return d;
}

std::optional<Bytes> IconFile::fileBytes(int index) const { return container_->fileBytes(index); }

std::optional<pixels::Bitmap> IconFile::decode(int index, int k) const {
    const auto g = container_->group(index);
    if (!g || k < 0 || static_cast<std::size_t>(k) >= g->images.size()) return std::nullopt;
    const auto icon = DecodeImage(src_, g->images[static_cast<std::size_t>(k)].blob);
    if (!icon) return std::nullopt;
    pixels::Bitmap out;
    out.width = icon->width;
    out.height = icon->height;
    out.pixels.resize(icon->color.size());
    for (std::size_t i = 0; i < icon->color.size(); ++i) {
        const pixels::Argb c = icon->color[i];
        if (icon->blended || icon->mask[i] == 0) {
            out.pixels[i] = icon->blended ? c : (c | 0xFF000000u);
        } else if ((c & 0x00FFFFFFu) == 0) {
            out.pixels[i] = 0;  // the background shows through
        } else {
            // On white, AND keeps the white and XOR with the colour inverts it.
            out.pixels[i] = (0x00FFFFFFu ^ (c & 0x00FFFFFFu)) | 0xFF000000u;
            out.inverted = true;
        }
    }
    return out;
}

std::optional<Bytes> IconFile::largestPng(int index) const {
    const auto d = describe(index);
    const int largest = d ? LargestImage(*d) : -1;
    return largest < 0 ? std::nullopt : imagePng(index, largest);
}

std::optional<Bytes> IconFile::imagePng(int index, int k) const {
    const auto image = decode(index, k);
    return image ? EncodePng(*image) : std::nullopt;
}

std::optional<VersionInfo> IconFile::versionInfo() const {
    return container_->versionInfo();
}

std::optional<IconDescription> DescribeIcon(const ByteSource& source, int index, int size) {
    return IconFile(source).describe(index, size);
}

std::vector<IconDescription> DescribeIcons(const ByteSource& source) {
    const IconFile file(source);
    std::vector<IconDescription> out;
    const int n = file.count();
    out.reserve(static_cast<std::size_t>(n));
    // A group that cannot be read keeps its place, empty, so positions stay icon indexes.
    for (int i = 0; i < n; ++i) out.push_back(file.describe(i).value_or(IconDescription{}));
    return out;
}

std::optional<Bytes> IconFileBytes(const ByteSource& source, int index) { return IconFile(source).fileBytes(index); }

std::optional<pixels::Bitmap> DecodeIconImage(const ByteSource& source, int index, int k) {
    return IconFile(source).decode(index, k);
}

std::optional<Bytes> LargestImagePng(const ByteSource& source, int index) {
    return IconFile(source).largestPng(index);
}

int ChosenImage(const IconDescription& icon, int size) {
    std::vector<Candidate> candidates;
    candidates.reserve(icon.images.size());
    for (const ImageDescription& image : icon.images) candidates.push_back({image.width, image.height, image.depth});
    return ChooseImage(candidates, size);
}

// No image is larger than the largest size asked for: the choice for it is the largest.
int LargestImage(const IconDescription& icon) { return ChosenImage(icon, kMaxIconSize); }

}  // namespace icons
