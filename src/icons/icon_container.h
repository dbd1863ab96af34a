#pragma once
// A file that carries icons, as the rest of the reader sees it: a numbered
// run of icon groups, each of which can also be given whole as an icon file of
// its own. PE and NE executables, animated cursors and .ico or .cur files each
// answer in their own way; IconFile asks only this.

#include <cstdint>
#include <memory>
#include <optional>

#include "byte_view.h"
#include "icon_group.h"
#include "icon_types.h"
#include "version_info.h"

namespace icons {

// Icon files larger than this are no icon files; an .ico is copied whole.
constexpr std::uint64_t kMaxIconFileBytes = 64u << 20;

enum class ContainerKind { kNone, kPe, kNe, kAni, kIco };

class IconContainer {
public:
    virtual ~IconContainer();

    virtual ContainerKind kind() const = 0;
    virtual int count() const = 0;
    // Icon `index`'s group; nullopt when there is no such icon or it holds no image.
    virtual std::optional<RawGroup> group(int index) const = 0;
    // Icon `index` whole, as IconFileBytes gives it.
    virtual std::optional<Bytes> fileBytes(int index) const = 0;
    // A resource compiler copies each image's size and depth into its group's
    // directory, so an executable's directories are trusted to choose by.
    virtual bool byDirectory() const = 0;
    // The version resource (as ReadVersionInfo); nullopt but for a PE file.
    virtual std::optional<VersionInfo> versionInfo() const;
};

// What `source` is, tried as a PE file, an NE file, an animated cursor, then
// an .ico or .cur file: the first that opens. Anything else opens as no icons
// (ContainerKind::kNone). Keeps a reference to `source`, which must outlive it.
std::unique_ptr<const IconContainer> OpenContainer(const ByteSource& source, OpenOptions options);

}  // namespace icons
