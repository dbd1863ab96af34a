#include "icon_container.h"

#include <utility>
#include <vector>

#include "ani_reader.h"
#include "ico_format.h"
#include "ico_reader.h"
#include "ico_writer.h"
#include "ne_reader.h"
#include "pe_reader.h"

namespace icons {
namespace {

// An executable's group written out as an .ico (a .cur for a cursor group):
// every image's bytes as stored, behind a directory made from the images.
std::optional<Bytes> ResourceGroupFile(const ByteSource& src, const std::optional<RawGroup>& g) {
    if (!g || g->images.empty()) return std::nullopt;
    const std::size_t n = g->images.size();
    std::vector<Bytes> stored;
    std::vector<IcoImage> images;
    stored.reserve(n);
    images.reserve(n);
    std::uint64_t total = ico::dir::kSize + ico::entry::kSize * n;
    for (const ImageRef& r : g->images) {
        if (r.blob.size > kMaxIconFileBytes - total) return std::nullopt;
        auto image = Fetch(src, r.blob.offset, r.blob.size, kMaxIconFileBytes);
        if (!image) return std::nullopt;
        total += image->size();
        stored.push_back(std::move(*image));
        const Bytes& bytes = stored.back();
        // The image's own header is what a reader of the .ico trusts; the
        // group's directory is kept only for an image with no header we know.
        IcoImage entry{r.dirWidth, r.dirHeight, r.colours, r.planes, r.bitCount, bytes};
        if (const auto info = ProbeImageBytes(ByteView(bytes))) {
            // A PNG is drawn as 32-bit RGBA whatever it stores, and Windows' tools say 32 for it.
            const int depth = info->png ? 32 : info->depth;
            entry = {info->width, info->height, static_cast<std::uint8_t>(depth < 8 ? 1u << depth : 0), 1,
                     static_cast<std::uint16_t>(depth), bytes};
        }
        // A cursor's entry keeps its hotspot where an icon's keeps planes and depth.
        if (g->cursor) entry = {entry.width, entry.height, 0, r.planes, r.bitCount, bytes};
        images.push_back(entry);
    }
    return WriteIcoFile(g->cursor, images);
}

// An executable's icon groups, read from its resources; only a PE file
// carries a version resource we read.
template <class Resources, ContainerKind Kind>
class ResourceIcons final : public IconContainer {
public:
    ResourceIcons(const ByteSource& src, Resources resources) : src_(src), resources_(std::move(resources)) {}
    ContainerKind kind() const override { return Kind; }
    int count() const override { return resources_.groupCount(); }
    std::optional<RawGroup> group(int index) const override { return resources_.group(index); }
    std::optional<Bytes> fileBytes(int index) const override { return ResourceGroupFile(src_, group(index)); }
    bool byDirectory() const override { return true; }
    std::optional<VersionInfo> versionInfo() const override {
        if constexpr (Kind == ContainerKind::kPe) return ReadVersionInfo(resources_);
        return std::nullopt;
    }

private:
    const ByteSource& src_;
    Resources resources_;
};
using PeIcons = ResourceIcons<pe::Resources, ContainerKind::kPe>;
using NeIcons = ResourceIcons<ne::Resources, ContainerKind::kNe>;

// Each frame is an .ico or .cur file already: it is given as the file holds it.
class AniIcons final : public IconContainer {
public:
    AniIcons(const ByteSource& src, ani::Frames frames) : src_(src), frames_(std::move(frames)) {}
    ContainerKind kind() const override { return ContainerKind::kAni; }
    int count() const override { return frames_.count(); }
    std::optional<RawGroup> group(int index) const override { return frames_.group(index); }
    std::optional<Bytes> fileBytes(int index) const override {
        if (!group(index)) return std::nullopt;
        const Blob frame = frames_.frame(index).value_or(Blob{});
        return Fetch(src_, frame.offset, frame.size, kMaxIconFileBytes);
    }
    bool byDirectory() const override { return false; }

private:
    const ByteSource& src_;
    ani::Frames frames_;
};

// The file is its own one icon, and is given whole.
class IcoIcons final : public IconContainer {
public:
    IcoIcons(const ByteSource& src, RawGroup group) : src_(src), group_(std::move(group)) {}
    ContainerKind kind() const override { return ContainerKind::kIco; }
    int count() const override { return group_.images.empty() ? 0 : 1; }
    std::optional<RawGroup> group(int index) const override {
        if (index != 0 || group_.images.empty()) return std::nullopt;
        return group_;
    }
    std::optional<Bytes> fileBytes(int index) const override {
        if (!group(index)) return std::nullopt;
        return Fetch(src_, 0, src_.size(), kMaxIconFileBytes);
    }
    bool byDirectory() const override { return false; }

private:
    const ByteSource& src_;
    RawGroup group_;
};

class NoIcons final : public IconContainer {
public:
    ContainerKind kind() const override { return ContainerKind::kNone; }
    int count() const override { return 0; }
    std::optional<RawGroup> group(int) const override { return std::nullopt; }
    std::optional<Bytes> fileBytes(int) const override { return std::nullopt; }
    bool byDirectory() const override { return false; }
};

}  // namespace

IconContainer::~IconContainer() = default;

std::optional<VersionInfo> IconContainer::versionInfo() const { return std::nullopt; }

std::unique_ptr<const IconContainer> OpenContainer(const ByteSource& source, OpenOptions options) {
    if (auto pe = pe::Resources::Open(source, options.cursors)) return std::make_unique<PeIcons>(source, std::move(*pe));
    if (auto ne = ne::Resources::Open(source, options.cursors)) return std::make_unique<NeIcons>(source, std::move(*ne));
    if (auto ani = ani::Frames::Open(source)) return std::make_unique<AniIcons>(source, std::move(*ani));
    if (auto ico = ico::Group(source)) return std::make_unique<IcoIcons>(source, std::move(*ico));
    return std::make_unique<NoIcons>();
}

}  // namespace icons
