// A picture copied into a larger one with each of its pixels a square block
// of whole screen pixels: how a host shows the program's pixels exactly on
// a large or high-density screen. Pure, shared by hosts, tested on its own.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace platform::host {

// Draws `picture` scaled by `factor` with its top-left corner at (x, y) of
// `target`. Only what lies inside the target is written; a factor below 1
// or an empty picture writes nothing.
void CopyScaled(const ReadOnlyPixelView& picture, int factor, const PixelView& target, int x, int y);

} // namespace platform::host
