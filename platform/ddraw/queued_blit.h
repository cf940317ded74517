// One blit waiting in the blit queue, and how any part of it is drawn into
// a band of rows.
#pragma once

#include <cstdint>

#include "ddraw/blitters.h"
#include "ddraw/pixel_columns.h"

namespace platform::ddraw {

enum class BlitKind : uint8_t { Fill, Copy, Keyed, Stretch, Columns };

struct QueuedBlit {
    BlitKind kind = BlitKind::Fill;
    Span2D area; // every target pixel it may write
    int32_t source = -1; // in QueuedData::sources
    // Copy, Keyed: the source pixel of the area's top-left one (of its first
    // tile); Columns: of the first column's first row.
    int64_t sourceX = 0;
    int64_t sourceY = 0;
    uint32_t value = 0; // Fill: the raw value; Keyed, Columns: the low end of the key
    uint32_t keyRange = 0;
    // Keyed: the area holds `count` copies of one source rectangle side by
    // side, each `tileWidth` wide (a row of tiles). Columns: `count` columns,
    // their target rows from QueuedData::columnRows[first].
    int64_t tileWidth = 0;
    int64_t count = 1;
    int64_t first = 0; // Columns: see above; Stretch: in QueuedData::stretches
    int64_t columnHeight = 0;

    // Made before the first band is drawn (-1: nothing made): a row of
    // tiles' strip, in QueuedData::strips, madeAlsoAt tiles long; a
    // stretch's source columns, in QueuedData::stretchColumns; a band of
    // columns' layout, in QueuedData::laneGroups and vectorGroups.
    int64_t madeAt = -1;
    int64_t madeAlsoAt = 0;
    int64_t lanes = 0;
    int64_t vectors = 0;

    // Writes every pixel of its area, whatever was there.
    bool Opaque() const { return kind == BlitKind::Fill || kind == BlitKind::Copy || kind == BlitKind::Stretch; }
};

struct QueuedStretch {
    Span2D destination;
    Span2D sourceRect;
    // Its last picked row, in QueuedData::stretchRows, and the source row
    // that is (-1: none yet).
    int64_t rowAt = 0;
    int64_t cachedRow = -1;
};

// What queued blits refer to, held by the queue.
struct QueuedData {
    const Raster* sources = nullptr;
    const int64_t* columnRows = nullptr;
    QueuedStretch* stretches = nullptr;
    uint8_t* stretchRows = nullptr;
    const uint8_t* strips = nullptr;
    const int32_t* stretchColumns = nullptr;
    const rows::LaneGroup* laneGroups = nullptr;
    const int32_t* vectorGroups = nullptr;
};

// Where a band is drawn: `raster` holds target pixel (x, y) at
// (x - columnOffset, y - rowOffset): the target's own memory, a buffer
// holding the band's rows alone, or the memory a copy out of the target
// writes, keeping `keepBits` of each pixel. Every target column of the band
// lies inside the raster.
struct BandTarget {
    Raster raster;
    int64_t rowOffset = 0;
    int64_t columnOffset = 0;
    uint32_t keepBits = kKeepAllBits;

    // Where target row y's column 0 lies.
    uint8_t* Row(int64_t y) const { return raster.At(-columnOffset, y - rowOffset); }
    Span2D InRaster(int64_t top, int64_t bottom, int64_t left, int64_t right) const
    {
        return { left - columnOffset, top - rowOffset, right - columnOffset, bottom - rowOffset };
    }
};

// The strip of a row of tiles: its source rectangle repeated at least
// `count` times.
Raster TileStrip(const QueuedBlit& blit, const QueuedData& data);
void MakeTileStrip(const QueuedBlit& blit, const QueuedData& data, uint8_t* strip);

// Draws target rows top .. bottom - 1 and columns left .. right - 1 of
// `blit` (a part of its area) into `band`.
void DrawQueuedBlit(const QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right);

} // namespace platform::ddraw
