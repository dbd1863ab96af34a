#pragma once

#include "icons.h"

namespace icons {

// The icon stretched to width x height without keeping its aspect, smoothly:
// a tent filter as wide as the reduction (plain bilinear when enlarging).
// A blended icon is filtered premultiplied so transparent pixels lend no colour;
// a masked icon filters its colours and keeps the background where most of
// the covered mask did. Returns the icon unchanged when it has that size already.
Icon StretchIcon(const Icon& icon, int width, int height);
// The same for an icon that is not needed afterwards: one of that size already is moved, not copied.
Icon StretchIcon(Icon&& icon, int width, int height);

}  // namespace icons
