// The pixel work behind blits: raw values moved between rasters of equal
// depth, a rectangle at a time, with the loops chosen for this processor.
// Callers have checked every rectangle; nothing here allocates, so the hot
// per-blit path stays lean.
#pragma once

#include <cstdint>

#include "pixels/pixel_values.h"
#include "pixels/presentation_stores.h"

namespace platform::pixels {

void FillPixels(const PixelView& target, const Rectangle& area, uint32_t raw, uint32_t keepBits);

// Unscaled copy of `area`'s size from (sourceX, sourceY) of `source`.
void CopyPixels(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, uint32_t keepBits, PresentationStores stores = PresentationStores::Ordinary);

// The same, leaving out source pixels the key holds.
void CopyKeyedPixels(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, ColourKey key, uint32_t keepBits);

// Nearest-neighbour scaling of `sourceRect` onto `destination`, of which only
// `visible` (a part of it, inside the target) is written: clipping never
// changes which source pixel a destination pixel shows.
void StretchPixels(const PixelView& target, const Rectangle& destination, const Rectangle& visible,
    const PixelView& source, const Rectangle& sourceRect, uint32_t keepBits);

// Where a stretch finds each destination column's source pixel, worked out
// once for a run of destination columns and shared by all its rows.
struct StretchMap {
    Rectangle destination;
    Rectangle sourceRect;
    const int32_t* sourceColumns = nullptr; // source x of destination columns columnsFrom, columnsFrom + 1, ...
    int64_t columnsFrom = 0;
    int64_t columnsCount = 0;
    // Where a row of all those columns is kept, with the source row it
    // shows: a stretch drawn a band at a time picks each source row once,
    // not once a band. Null: none is kept.
    uint8_t* rowCache = nullptr;
    int64_t* cachedRow = nullptr;
};

// Fills `columns` with the source x of destination columns from .. to - 1.
void MapStretchColumns(
    const Rectangle& destination, const Rectangle& sourceRect, int64_t from, int64_t to, int32_t* columns);

// Target rows top .. bottom - 1 and columns left .. right - 1 of a stretch
// (a part of its destination whose columns `map` holds), written at `out`,
// where target row `top` begins. A row showing the same source row as the
// one above it is a copy of that row.
void StretchBand(uint8_t* out, int64_t outPitch, const StretchMap& map, const PixelView& source, int64_t top,
    int64_t bottom, int64_t left, int64_t right, uint32_t keepBits);

} // namespace platform::pixels
