// Blits into a raster's memory wait here, as on a display card's command
// queue, until someone needs their pixels. Then they are drawn a band of
// rows at a time: each band's blits in the order they were asked for while
// the band stays in the first-level cache, leaving out whatever a later
// opaque blit covers, and joining runs of copies of one rectangle, and
// neighbouring one-pixel columns, into one blit each.
//
// Whoever else touches memory a waiting blit involves first says so with
// Settle. A copy out of the waiting raster, such as a frame's presentation,
// instead composes the bands on its way; the raster's own memory is then
// written only where someone reads it.
#pragma once

#include <cstdint>

#include "pixels/pixel_values.h"
#include "pixels/presentation_stores.h"

namespace platform::compose {

using pixels::ColourKey;

// Each takes a blit as the pixel loops would do it, or returns false: the
// caller then settles and does it at once. Rectangles are checked against
// both rasters; the source is never the target.
bool QueueFill(const PixelView& target, const Rectangle& area, uint32_t raw);
bool QueueCopy(
    const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY);
bool QueueKeyedCopy(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, ColourKey key);
bool QueueStretch(const PixelView& target, const Rectangle& destination, const Rectangle& visible,
    const PixelView& source, const Rectangle& sourceRect);

// As CopyPixels from `source`, whose blits wait here, composing those of the
// rows copied on the way, with `stores`. False, with nothing done, when no
// blit waits for `source` or one reads `target`.
bool CopyOut(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY,
    uint32_t keepBits, pixels::PresentationStores stores);

// What is about to be done with a raster's memory by someone other than
// the queue.
enum class Touch {
    Read, // rows are read: the blits into them are drawn
    Write, // rows are written: also every blit reading the memory is drawn
    Discard, // the memory is freed or its content given up: blits into it are dropped, those reading it drawn
};
void Settle(const uint8_t* memory, Touch touch, int64_t top, int64_t bottom);

// Drops every waiting blit, for rasters abandoned all at once.
void ForgetAll();

} // namespace platform::compose
