#pragma once

#include <utility>

#include "icons.h"
#include "whole_icon.h"

namespace icons {

// The icon stretched to width x height without keeping its aspect, smoothly:
// a tent filter as wide as the reduction (plain bilinear when enlarging).
// A blended icon is filtered premultiplied so transparent pixels lend no colour;
// a masked icon filters its colours and keeps the background where most of
// the covered mask did. Returns the icon unchanged when it has that size already.
Icon StretchIcon(const Icon& icon, int width, int height);
// The same for an icon that is not needed afterwards: one of that size already is moved, not copied.
Icon StretchIcon(Icon&& icon, int width, int height);

// The size of a width x height picture fitted into size x size, aspect kept:
// unchanged when it fits already (a picture is never enlarged), and never 0
// wide or high however thin the picture.
std::pair<int, int> FitWithin(int width, int height, int size);

// A picture with straight alpha stretched as a blended icon is, so transparent
// pixels lend no colour to the edges they border.
pixels::Bitmap StretchImage(pixels::Bitmap image, int width, int height);

}  // namespace icons
