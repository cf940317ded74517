// Many keyed one-pixel columns copied together, row by row across all of
// them: a wave's columns, each moved up or down by its own amount. Done
// one at a time, every pixel of a column is a cache line of its own.
#pragma once

#include <cstdint>

namespace platform::ddraw::rows {

// `width` consecutive source columns, `height` rows each, to as many
// consecutive target columns. Source row r of column c lands on target row
// firstRows[c] + r.
struct ColumnBand {
    const uint8_t* in = nullptr; // the first source column, on its first row
    int64_t inPitch = 0;
    int64_t width = 0;
    int64_t height = 0;
    const int64_t* firstRows = nullptr;
};

// What one call writes: target rows top .. bottom - 1 of the band's columns
// first .. end - 1. `out` is where the band's first column meets target row
// `top`, so that a band can be drawn into a buffer holding those rows alone.
// 32-bit pixels are written masked with keepBits.
struct ColumnWindow {
    uint8_t* out = nullptr;
    int64_t outPitch = 0;
    int64_t top = 0;
    int64_t bottom = 0;
    int64_t first = 0;
    int64_t end = 0;
    uint32_t keepBits = 0xFFFFFFFFu;
};

// The band cut into vectors of neighbouring columns, and each vector's
// columns grouped by the target row their first source row lands on. A
// target row of a vector is one load per group and a single store, however
// the columns move.
struct LaneGroup {
    int64_t firstRow;
    uint32_t lanes; // bit i: the vector's column i
};

struct ColumnLayout {
    int64_t lanes = 0; // columns a vector; 0: every column on its own
    const LaneGroup* groups = nullptr;
    const int32_t* vectorGroups = nullptr; // vector v's groups: vectorGroups[v] .. vectorGroups[v + 1] - 1
    int64_t vectors = 0; // laid out
};

// Columns a vector of the widest vector set allowed now holds, for pixels of
// `bytesPerPixel` bytes; 0 when the key cannot be tested in such lanes
// (16-bit lanes hold only a key range that lies within 16 bits).
int64_t ColumnLanes(int bytesPerPixel, uint32_t keyLow, uint32_t keyRange);

// Fills `groups` (room for band.width) and `vectorGroups` (room for
// band.width / lanes + 2) for the band's whole vectors of `lanes` columns,
// and returns how many vectors it laid out. With AVX-512 the columns after
// them make one more vector: its masked loads and stores touch only them.
int64_t LayOutColumns(const ColumnBand& band, int64_t lanes, LaneGroup* groups, int32_t* vectorGroups);

// Source pixels whose value lies in keyLow .. keyLow + keyRange are left
// out; the others are written as they are. `layout` comes from
// LayOutColumns with the lanes ColumnLanes gave for this key.
void CopyKeyedColumns32(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange);
void CopyKeyedColumns16(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange);

// The whole vectors of `window` that a vector set's loop takes:
// first .. end - 1, and for each the lanes the window leaves it.
struct WindowVectors {
    int64_t first;
    int64_t end;
};
WindowVectors VectorsIn(const ColumnLayout& layout, const ColumnWindow& window, int64_t lanes);

// What a vector set's loop needs of one vector of the window: the groups
// the window leaves lanes to, with those lanes, and the target rows on
// which one of them has a source row.
struct WindowVector {
    int groups = 0;
    uint32_t lanes[32];
    int64_t firstRows[32];
    int64_t top = 0;
    int64_t bottom = 0;
    const uint8_t* in = nullptr; // the vector's first column on source row 0
    uint8_t* out = nullptr; // the vector's first column on target row `top`
};
WindowVector VectorOfWindow(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window,
    int64_t vector, int64_t lanes, int64_t bytesPerPixel);

// The rows of `part` on which every one of its groups has a source row
// (from >= to: none): from the first row of the group that starts last to
// the last row of the group that ends first. A wave's columns spend nearly
// all their rows there, and the loops take them without a test a group.
struct RowRange {
    int64_t from;
    int64_t to;
};
RowRange RowsWithEveryGroup(const WindowVector& part, int64_t height);

// Every vector of `window`, cut into the rows where every group has a
// source row and the others, for a vector set's two loops:
//   loops.Edge(part, from, to): any rows, each group tested;
//   loops.Interior(part, from, to): rows where every group has a source
//   row; false, with nothing done, when it has no loop for that many groups.
template <typename Loops>
void CopyWindowVectors(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, int64_t lanes,
    int64_t bytesPerPixel, const Loops& loops)
{
    const WindowVectors vectors = VectorsIn(layout, window, lanes);
    for (int64_t vector = vectors.first; vector < vectors.end; ++vector) {
        const WindowVector part = VectorOfWindow(band, layout, window, vector, lanes, bytesPerPixel);
        const RowRange every = RowsWithEveryGroup(part, band.height);
        if (every.from >= every.to) {
            loops.Edge(part, part.top, part.bottom);
            continue;
        }
        loops.Edge(part, part.top, every.from);
        if (!loops.Interior(part, every.from, every.to)) loops.Edge(part, every.from, every.to);
        loops.Edge(part, every.to, part.bottom);
    }
}

} // namespace platform::ddraw::rows
