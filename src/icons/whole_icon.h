#pragma once
// The whole icon, not just the picture a cell draws: every image a group holds
// as the file stores it, what each image is, each image decoded at its own
// size, and the group written out as an .ico file. Icons are counted and
// numbered as CountIcons and ExtractIcon count and number them. Never throws;
// malformed input gives nullopt or an empty list.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_source.h"
#include "chooser.h"
#include "icon_types.h"
#include "pixels/bitmap.h"

namespace icons {

std::optional<IconDescription> DescribeIcon(const ByteSource& source, int index, int size = kStandardIconSize);
// Every icon of the file, one entry per index; an icon that cannot be read has no images.
std::vector<IconDescription> DescribeIcons(const ByteSource& source);

// The icon as an .ico file (a .cur file for a cursor file): every image's
// bytes exactly as stored, in group order, behind a directory whose fields
// (width, height, colour count, planes, bit count, size, offset) are computed
// from the images. An .ico or .cur file gives its own bytes, and a frame of
// an animated cursor the bytes of the .ico or .cur file it holds.
std::optional<std::vector<std::uint8_t>> IconFileBytes(const ByteSource& source, int index);

// Image `k` (its position in DescribeIcon's list) of icon `index` at its own
// size. A PNG as it decodes; a DIB with alpha uses it; any other DIB, and a
// 32-bit one whose alpha is zero everywhere, takes its transparency from the
// AND mask, as Windows draws them.
std::optional<pixels::Bitmap> DecodeIconImage(const ByteSource& source, int index, int k);

// The image drawn for an icon of size x size pixels, by ChooseImage's rule over
// the images as described; -1 for none.
int ChosenImage(const IconDescription& icon, int size);
// The image with the most pixels, then the highest depth, first on a tie: the
// choice for the largest size; -1 for none.
int LargestImage(const IconDescription& icon);

// The icon's largest image (LargestImage) decoded and encoded as PNG: what a
// launcher, a thumbnail or a document takes from the icon.
std::optional<std::vector<std::uint8_t>> LargestImagePng(const ByteSource& source, int index);

// The names the icons of a file called `file` (no folder) are written under,
// wherever they are saved: the whole icon "<file>.<index>.ico" (".cur" for a
// cursor file), image `k` of it "<file>.<index>-<k>.png".
std::string WholeIconFileName(const std::string& file, int index, bool cursor);
std::string IconImageFileName(const std::string& file, int index, int k);
// The whole icon dragged out of the window, as its largest image: "<file>.<index>.png".
std::string DraggedIconFileName(const std::string& file, int index);
// The file's name in `path`: what follows the last "/", all of it without one.
std::string FileNameOf(const std::string& path);

// An 8-bit RGBA PNG of the picture; nullopt for an empty or inconsistent one.
std::optional<std::vector<std::uint8_t>> EncodePng(const pixels::Bitmap& image);

}  // namespace icons
