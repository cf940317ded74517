// How the column loops walk a band: the vectors a window of it takes, what
// each vector of the window needs, and the rows on which every group of a
// vector has a source row. Shared by every vector set's loops.
#pragma once

#include <cstdint>

#include "pixels/loops.h"

namespace platform::pixels {

// The vectors of `layout` that `window` takes some column of:
// first .. end - 1.
struct WindowVectors {
    int64_t first;
    int64_t end;
};
WindowVectors VectorsIn(const ColumnLayout& layout, const ColumnWindow& window, int64_t lanes);

// What a loop needs of one vector of the window: the groups the window
// leaves lanes to, with those lanes and their rows (cut to the window), and
// the target rows on which one of them writes.
struct WindowVector {
    int groups = 0;
    uint32_t lanes[32];
    BandColumn rows[32];
    int64_t top = 0;
    int64_t bottom = 0;
    const uint8_t* in = nullptr; // the vector's first column on source row 0
    uint8_t* out = nullptr; // the vector's first column on target row `top`
};
WindowVector VectorOfWindow(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window,
    int64_t vector, int64_t lanes, int64_t bytesPerPixel);

// The rows of `part` on which every one of its groups writes (from >= to:
// none). Columns that move gently spend nearly all their rows there, and
// the loops take them without a test a group.
struct RowRange {
    int64_t from;
    int64_t to;
};
RowRange RowsWithEveryGroup(const WindowVector& part);

} // namespace platform::pixels
