#pragma once
// One icon-bearing file opened for a run of work on its icons. Opening reads
// its headers and resource directory once; each icon then costs a few reads of
// its own group and images, however many icons the file holds.

#include <optional>

#include "ani_reader.h"
#include "ico_reader.h"
#include "icons.h"
#include "ne_reader.h"
#include "pe_reader.h"
#include "whole_icon.h"

namespace platform::icons {

// Icon files larger than this are no icon files; an .ico is copied whole.
constexpr std::uint64_t kMaxIconFileBytes = 64u << 20;

class IconFile {
public:
    // Keeps a reference to `source`, which must outlive it.
    explicit IconFile(const ByteSource& source);

    int count() const;
    std::optional<Icon> extract(int index) const;  // at 32x32, as ExtractIcon
    std::optional<IconDescription> describe(int index) const;
    std::optional<Bytes> fileBytes(int index) const;
    std::optional<RgbaImage> decode(int index, int k) const;
    std::optional<Bytes> largestPng(int index) const;  // as LargestImagePng

private:
    std::optional<RawGroup> group(int index) const;

    const ByteSource& src_;
    std::optional<pe::Resources> pe_;
    std::optional<ne::Resources> ne_;
    std::optional<ani::Frames> ani_;
    std::optional<RawGroup> ico_;
};

}  // namespace platform::icons
