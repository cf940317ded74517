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
    uint8_t* out = nullptr; // the first target column, on target row 0
    int64_t outPitch = 0;
    const uint8_t* in = nullptr; // the first source column, on its first row
    int64_t inPitch = 0;
    int64_t width = 0;
    int64_t height = 0;
    const int64_t* firstRows = nullptr;
};

// Source pixels whose value lies in keyLow .. keyLow + keyRange are left
// out; the others are written as they are.
void CopyKeyedColumns32(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange);
void CopyKeyedColumns16(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange);

} // namespace platform::ddraw::rows
