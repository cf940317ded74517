// Blits into a surface's memory wait here, as on a display card's command
// queue, until someone needs their pixels. Then they are drawn a band of
// rows at a time: each band's blits in the order they were asked for while
// the band stays in the first-level cache, leaving out whatever a later
// opaque blit covers, and joining a row of identical tiles into one copy.
//
// Whatever reads or writes a surface a waiting blit involves (Lock, GetDC,
// any other blit, losing or releasing it) first settles the queue. A copy
// out of the waiting surface, such as a frame's presentation, instead
// composes the bands on its way; the surface's own memory is then written
// only where someone reads it.
#pragma once

#include <cstdint>

#include "ddraw/blitters.h"

namespace platform::ddraw {

// Each takes a blit as CopyPixels and the others would do it, or returns
// false: the caller then settles and does it at once. Rectangles are
// checked against both rasters; the source is never the target.
bool QueueFill(const Raster& target, const Span2D& area, uint32_t raw);
bool QueueCopy(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY);
bool QueueKeyedCopy(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh);
bool QueueStretch(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect);

// As CopyPixels from `source`, whose blits wait here, composing those of the
// rows copied on the way. False, with nothing done, when no blit waits for
// `source` or one reads `target`.
bool CopyOutOfQueue(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keepBits);

// Does every waiting blit when one writes or reads `memory`.
void SettleQueuedBlitsFor(const uint8_t* memory);
// Does every waiting blit when one reads `memory`.
void SettleQueuedBlitsReading(const uint8_t* memory);
// Does what waits for rows top .. bottom - 1 when `memory` is the waiting
// blits' target, and no more: GDI, drawing into a surface, asks for the rows
// it touches.
void SettleQueuedRows(const uint8_t* memory, int top, int bottom);
// Surface memory is about to be freed: blits into it are dropped, blits
// reading it done now.
void FreeingQueuedMemory(const uint8_t* memory);
// Drops every waiting blit, for surfaces abandoned all at once.
void ForgetQueuedBlits();

// Tests compare blits that wait with blits done at once.
void SetBlitsWait(bool wait);

} // namespace platform::ddraw
