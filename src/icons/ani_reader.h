#pragma once
// Animated cursors (.ani): a RIFF file of form ACON whose `fram` list holds
// each frame as a whole .ico or .cur file. Its icons are its frames, in file
// order, each read exactly as that file would be read on its own.

#include <optional>
#include <vector>

#include "icon_group.h"

namespace icons::ani {

// More frames than a cell array can number is no animation; it only costs time.
constexpr std::size_t kMaxFrames = 0x7FFF;
// Chunks looked at in all: a file made of nothing but empty chunks ends here.
constexpr std::size_t kMaxChunks = 1u << 16;

class Frames {
public:
    // nullopt when this is not a RIFF file of form ACON. Opening walks the
    // chunk headers once; a frame's own bytes are read when it is asked for.
    // The header's frame count is never used: the `icon` chunks are the frames.
    static std::optional<Frames> Open(const ByteSource& source);

    int count() const { return static_cast<int>(frames_.size()); }
    // Where frame `index` lies in the file; nullopt when there is no such frame.
    std::optional<Blob> frame(int index) const;
    // The frame as the .ico or .cur file it holds, its images placed where
    // they lie in the whole file; nullopt when there is no such frame or it
    // holds no icon file with an image.
    std::optional<RawGroup> group(int index) const;

private:
    explicit Frames(const ByteSource& source) : src_(&source) {}

    const ByteSource* src_;
    std::vector<Blob> frames_;
};

}  // namespace icons::ani
