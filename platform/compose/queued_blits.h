// The blits that wait in the blit queue, one small type each, and how any
// part of one is drawn into a band of rows.
#pragma once

#include <cstdint>
#include <variant>

#include "pixels/loops.h"
#include "pixels/pixel_values.h"

namespace platform::compose {

using pixels::ColourKey;

struct FillBlit {
    uint32_t raw;
};

struct CopyBlit {
    int32_t source; // in the queue's sources
    int64_t sourceX; // the source pixel of the area's top-left one
    int64_t sourceY;
};

// Keyed copies of one source rectangle side by side on the same rows: one
// copy, or a run of them, as a program repeats a picture across. The
// area's first column shows column `phase` of the rectangle, and each
// column after it the next one, starting the rectangle again after its
// last.
struct KeyedRun {
    int32_t source;
    int64_t sourceX; // the rectangle's top-left pixel
    int64_t sourceY;
    int64_t width; // the rectangle's
    int64_t phase;
    ColourKey key;
    // Kept as copies join, without a division: the rectangle's column a
    // copy joining at the right must start with, and how many copies of
    // the rectangle the area touches, the first and last cut or not.
    int64_t next = 0;
    int64_t copies = 1;
    int64_t promisedCopies = 0; // copies of the rectangle the strips have room for
    // Made before the first band is drawn, for a run of more than one copy:
    // the rectangle's rows repeated `stripCopies` times from the phase on,
    // so that the strip's columns line up with the area's, in the strips
    // (-1: none made).
    int64_t stripAt = -1;
    int64_t stripCopies = 0;
};

struct StretchBlit {
    int32_t source;
    Rectangle destination;
    Rectangle sourceRect;
    int64_t rowAt; // its kept row of destination pixels, in the row caches
    int64_t cachedRow = -1; // the source row that is (-1: none yet)
    // Made before the first band is drawn: the source column of each of the
    // area's columns, in the stretch columns (-1: not made).
    int64_t columnsAt = -1;
};

// Keyed one-pixel columns next to each other: column i of the area is
// source column sourceX + i and writes the rows its BandColumn says, each
// column moved by its own amount and cut at its own ends.
struct KeyedColumns {
    int32_t source;
    int64_t sourceX;
    ColourKey key;
    int64_t first; // its columns, in the queue's columns
    int64_t count;
    bool leftward = false; // taken right to left, and stored so until laid out
    int64_t room = 0; // columns more it has room promised for
    // Laid out before the first band is drawn (loops null: not laid out).
    const pixels::PixelLoops* loops = nullptr;
    int64_t groupsAt = 0;
    int64_t vectorsAt = 0;
    int64_t vectors = 0;
};

struct QueuedBlit {
    Rectangle area; // every target pixel it may write
    std::variant<FillBlit, CopyBlit, KeyedRun, StretchBlit, KeyedColumns> what;

    // Writes every pixel of its area, whatever was there.
    bool Opaque() const
    {
        return !std::holds_alternative<KeyedRun>(what) && !std::holds_alternative<KeyedColumns>(what);
    }
};

// What waiting blits refer to, held by the queue.
struct QueuedData {
    const PixelView* sources = nullptr;
    const pixels::BandColumn* columns = nullptr;
    const uint8_t* strips = nullptr;
    const int32_t* stretchColumns = nullptr;
    uint8_t* stretchRows = nullptr;
    const pixels::LaneGroup* laneGroups = nullptr;
    const int32_t* vectorGroups = nullptr;
};

// Where a band is drawn: `raster` holds target pixel (x, y) at
// (x - columnOffset, y - rowOffset): the target's own memory, a buffer
// holding the band's rows alone, or the memory a copy out of the target
// writes, keeping `keepBits` of each pixel. Every target column of the band
// lies inside the raster.
struct BandTarget {
    PixelView raster;
    int64_t rowOffset = 0;
    int64_t columnOffset = 0;
    uint32_t keepBits = pixels::kKeepAllBits;

    // Where target row y's column 0 lies.
    uint8_t* Row(int64_t y) const { return raster.At(-columnOffset, y - rowOffset); }
    Rectangle InRaster(int64_t top, int64_t bottom, int64_t left, int64_t right) const
    {
        return { left - columnOffset, top - rowOffset, right - columnOffset, bottom - rowOffset };
    }
};

// The strip of a run, `height` rows: its rectangle repeated run.stripCopies
// times, starting with the column at its phase.
void MakeStrip(const KeyedRun& run, int64_t height, const PixelView& source, uint8_t* strip);

// Draws target rows top .. bottom - 1 and columns left .. right - 1 of
// `blit` (a part of its area) into `band`.
void DrawQueuedBlit(QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right);

} // namespace platform::compose
