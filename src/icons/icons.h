#pragma once
// The icons a Windows file carries (PE and NE executables and libraries, .ico
// and .cur files, animated cursors, whose frames are its icons): how many
// there are, the picture of one at the standard 32x32 size, and drawing it the
// way user32 draws an icon. Decided by content, never by the file's name.
// Never throws; malformed input gives 0 or no icon.

#include <optional>
#include <string>

#include "byte_source.h"
#include "chooser.h"
#include "icon_types.h"
#include "pixels/bitmap.h"

namespace icons {

// Number of icons in the file (what ExtractIcon reports for index -1); 0 for
// anything that is not an icon-bearing file or that is malformed.
int CountIcons(const ByteSource& source);
// Icon number `index` (counted from 0 in the file's order), or nullopt: the
// image ChooseImage picks for `size` x `size` pixels (clamped to 16..1024),
// stretched smoothly to that size. At 32 it is the standard cell's picture.
std::optional<Icon> ExtractIcon(const ByteSource& source, int index, int size = kStandardIconSize);

// By path: a system library's icons are taken from its resource module as
// Windows does (system_resources.h).
int CountIconsInFile(const std::string& path, OpenOptions options = {});  // 0 when it cannot be opened
std::optional<Icon> ExtractIconFromFile(const std::string& path, int index, int size = kStandardIconSize,
                                        OpenOptions options = {});

// Draws the icon with its top-left corner at (x, y), clipped to the target:
// a blended icon goes over what is there; otherwise each pixel becomes
// (target AND mask) XOR colour, so a masked pixel with a non-black colour inverts.
void DrawIcon(pixels::Bitmap& target, int x, int y, const Icon& icon);

}  // namespace icons
