#pragma once
// One icon-bearing file opened for a run of work on its icons. Opening reads
// its headers and resource directory once; each icon then costs a few reads of
// its own group and images, however many icons the file holds.

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "icon_container.h"
#include "icons.h"
#include "version_info.h"
#include "whole_icon.h"

namespace icons {

// A stretch [first, end) of a source; empty when first is not below end.
struct Span {
    std::uint64_t first = UINT64_MAX;
    std::uint64_t end = 0;
    bool empty() const { return first >= end; }
    std::uint64_t size() const { return empty() ? 0 : end - first; }
    Span with(const Span& o) const { return {std::min(first, o.first), std::max(end, o.end)}; }
};

class IconFile {
public:
    // Keeps a reference to `source`, which must outlive it.
    explicit IconFile(const ByteSource& source, OpenOptions options = {});

    int count() const;
    // As ExtractIcon: the image chosen for size x size, drawn at that size.
    std::optional<Icon> extract(int index, int size = kStandardIconSize) const;
    // `shown` is the image extract(index, size) draws.
    std::optional<IconDescription> describe(int index, int size = kStandardIconSize) const;
    std::optional<Bytes> fileBytes(int index) const;
    std::optional<pixels::Bitmap> decode(int index, int k) const;
    std::optional<Bytes> largestPng(int index) const;  // as LargestImagePng
    // Image `k` decoded (as decode) and encoded as PNG (as EncodePng).
    std::optional<Bytes> imagePng(int index, int k) const;
    // The version resource of a PE file (as ReadVersionInfo), read through the
    // resources already opened; nullopt for NE files, icon files and cursors.
    std::optional<VersionInfo> versionInfo() const;
    // What the file was opened as.
    ContainerKind kind() const;

private:
    // How far a load's look for groups whose images share a window goes.
    static constexpr int kGroupsAhead = 64;

    // The group, from those looked at ahead when it is one of them.
    std::optional<RawGroup> nextGroup(int index) const;
    void expectFrom(int index, const RawGroup& g, int size) const;
    Span needed(const RawGroup& g, int size) const;

    const ByteSource& src_;
    std::unique_ptr<const IconContainer> container_;
    // Groups after the one being extracted, resolved to size the read ahead.
    mutable std::map<int, std::optional<RawGroup>> ahead_;
    mutable Span expected_;  // what the last read ahead covered
    // Bytes the read ahead may still take that no icon is drawn from.
    mutable std::uint64_t spareBytes_ = kReadAheadBytes;
};

}  // namespace icons
