#pragma once
// Icon groups in the resource table of a 16-bit NE executable or library.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace icons::ne {

constexpr std::uint16_t kRtCursor = 0x8001;
constexpr std::uint16_t kRtIcon = 0x8003;
constexpr std::uint16_t kRtGroupCursor = 0x800C;
constexpr std::uint16_t kRtGroupIcon = 0x800E;

struct Resource {
    std::uint16_t type = 0;
    std::uint16_t id = 0;  // a number with the high bit, else where its name is in the table
    Blob blob;             // as the table places it: the length is rounded up to the alignment
};

// An NE file's resources. The table is under 64 KiB and read once at opening.
class Resources {
public:
    // nullopt when this is not an NE file; a malformed table opens with no
    // groups. With `cursors`, its cursor groups count too, after its icon groups.
    static std::optional<Resources> Open(const ByteSource& source, bool cursors = false);

    int groupCount() const { return static_cast<int>(groupAt_.size()); }
    // The index-th RT_GROUP_ICON resource in table order, then the
    // RT_GROUP_CURSOR ones when asked for, its images resolved through RT_ICON
    // or RT_CURSOR; nullopt when there is no such group.
    std::optional<RawGroup> group(int index) const;

private:
    explicit Resources(const ByteSource& source) : src_(&source) {}
    std::string nameOf(std::uint16_t id) const;

    const ByteSource* src_;
    Bytes table_;
    std::vector<Resource> resources_;
    // Positions in resources_ of the groups counted: the icon groups, then the cursor groups.
    std::vector<std::size_t> groupAt_;
};

// RT_GROUP_ICON resources in the table; 0 when malformed; nullopt when not NE.
std::optional<int> CountIconGroups(const ByteSource& source);

}  // namespace icons::ne
