// How the vector loops of the column band see it: the band cut into
// vectors of neighbouring columns, and each vector's columns grouped by
// the target rows they land on. A group is stored together, so a vector
// whose columns move alike costs one load and one store a row.
#pragma once

#include <cstdint>

#include "ddraw/pixel_columns.h"

namespace platform::ddraw::rows {

// Bit i of `lanes` picks the vector's column i; `inOffset` is where the
// vector lies in a source row, `outOffset` where it meets target row 0 for
// the picked columns.
struct ColumnPlacement {
    int64_t inOffset;
    int64_t outOffset;
    uint32_t lanes;
};

// The most columns placed at once: each source row is read once across
// them, and their placements stay in the first-level cache.
inline constexpr int64_t kChunkColumns = 256;

// Places columns first .. first + count - 1, a whole number of vectors of
// `lanes` (at most 32) columns and at most kChunkColumns, into `placements`
// and returns how many it made.
int64_t PlaceColumns(const ColumnBand& band, int64_t first, int64_t count, int64_t lanes, int64_t pixelBytes,
    ColumnPlacement* placements);

// Calls copy(first, count) for chunks of the band's whole vectors of
// `lanes` columns and returns how many columns they hold.
template <typename Copy> int64_t CopyInChunks(const ColumnBand& band, int64_t lanes, Copy copy)
{
    const int64_t whole = band.width / lanes * lanes;
    for (int64_t first = 0; first < whole; first += kChunkColumns)
        copy(first, whole - first < kChunkColumns ? whole - first : kChunkColumns);
    return whole;
}

} // namespace platform::ddraw::rows
