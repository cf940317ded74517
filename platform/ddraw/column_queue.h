// One-pixel-wide keyed copies into surface memory wait here and are done
// together, row by row across all of them, before anything else reads or
// writes pixels: the way a display card's blitter queue works, which Lock,
// GetDC and every other blit wait for. A wave's 600 columns then cost a few
// passes over the picture's rows instead of a cache line per pixel.
#pragma once

#include <cstdint>

#include "ddraw/blitters.h"

namespace platform::ddraw {

// As CopyKeyedPixels for an area one pixel wide, done later. The caller has
// checked the area against both rasters, and source and target differ;
// nothing but these copies may touch either until the queue is settled.
void QueueKeyedColumn(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh);

// Does the waiting copies now. Every operation on surface pixels, other
// than a copy that joins the queue, calls this first.
void SettleQueuedColumns();

// Drops the waiting copies, for surfaces abandoned all at once.
void ForgetQueuedColumns();

} // namespace platform::ddraw
