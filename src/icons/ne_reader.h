#pragma once
// Icon groups in the resource table of a 16-bit NE executable or library.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace icons::ne {

constexpr std::uint16_t kRtIcon = 0x8003;
constexpr std::uint16_t kRtGroupIcon = 0x800E;

struct Resource {
    std::uint16_t type = 0;
    std::uint16_t id = 0;  // a number with the high bit, else where its name is in the table
    Blob blob;             // as the table places it: the length is rounded up to the alignment
};

// An NE file's resources. The table is under 64 KiB and read once at opening.
class Resources {
public:
    // nullopt when this is not an NE file; a malformed table opens with no groups.
    static std::optional<Resources> Open(const ByteSource& source);

    int groupCount() const { return static_cast<int>(groupAt_.size()); }
    // The index-th RT_GROUP_ICON resource in table order, its images resolved
    // through RT_ICON; nullopt when there is no such group.
    std::optional<RawGroup> group(int index) const;

private:
    explicit Resources(const ByteSource& source) : src_(&source) {}
    std::string nameOf(std::uint16_t id) const;

    const ByteSource* src_;
    Bytes table_;
    std::vector<Resource> resources_;
    std::vector<std::size_t> groupAt_;  // positions of the RT_GROUP_ICON resources in resources_
};

// RT_GROUP_ICON resources in the table; 0 when malformed; nullopt when not NE.
std::optional<int> CountIconGroups(const ByteSource& source);

}  // namespace icons::ne
