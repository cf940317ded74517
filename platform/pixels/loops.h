// The pixel loops behind every blit, each written once over a small vector
// type (kernels.h) and built for every vector set there is (loops_*.cpp):
// one table of loops for each set, way of storing a partly keyed vector and
// pixel size. Which table runs is chosen by timing them (loop_choice.h).
// Addresses need no alignment; source and target never overlap.
#pragma once

#include <cstdint>

#include "pixels/pixel_values.h"

namespace platform::pixels {

// In order of preference within a processor family, the widest last; the
// portable loops, a pixel a step, are built everywhere. WebAssembly's
// SIMD is built only into a WebAssembly build made with it (-msimd128).
enum class VectorSet { Portable, Sse2, Avx2, Avx512, WasmSimd128 };
inline constexpr VectorSet kVectorSets[]
    = { VectorSet::Portable, VectorSet::Sse2, VectorSet::Avx2, VectorSet::Avx512, VectorSet::WasmSimd128 };
const char* VectorSetName(VectorSet set); // "portable", "SSE2", "AVX2", "AVX-512", "SIMD128"

// How a vector that is drawn in some lanes only is stored: with the set's
// masked store, or by loading the target, blending and storing it whole.
// Which is faster depends on the processor (some run masked stores in
// microcode), so it is measured too. A set without masked stores for a
// pixel size blends.
enum class KeyedStores { Masked, Blend };
const char* KeyedStoresName(KeyedStores method); // "masked", "blend"

// A rectangle of `width` by `height` pixels in both rasters, rows
// `outPitch` and `inPitch` bytes apart.
struct RowArea {
    uint8_t* out = nullptr;
    int64_t outPitch = 0;
    const uint8_t* in = nullptr;
    int64_t inPitch = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// One-pixel keyed columns copied together, row by row across all of them,
// each moved up or down by its own amount: done one at a time, every pixel
// of a column would be a cache line of its own. Column c of the band is
// source column c of `in`'s raster (`in` points at its row 0) and writes
// target rows top .. bottom - 1 of column c, each from the source row
// `shift` above it.
struct BandColumn {
    int64_t top;
    int64_t bottom;
    int64_t shift; // target row - source row
};

struct ColumnBand {
    const uint8_t* in = nullptr; // the band's first source column, on source row 0
    int64_t inPitch = 0;
    int64_t width = 0;
    const BandColumn* columns = nullptr;
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
    uint32_t keepBits = kKeepAllBits;
};

// The band cut into vectors of neighbouring columns, and each vector's
// columns grouped by the rows they write and the shift they read with: a
// target row of a vector is one load per group and a single store, however
// the columns move.
struct LaneGroup {
    BandColumn rows;
    uint32_t lanes; // bit i: the vector's column i
};

struct PixelLoops;

struct ColumnLayout {
    const PixelLoops* loops = nullptr; // the loops it was made for; null: every column on its own
    const LaneGroup* groups = nullptr;
    const int32_t* vectorGroups = nullptr; // vector v's groups: vectorGroups[v] .. vectorGroups[v + 1] - 1
    int64_t vectors = 0;
};

// One vector set's loops for one pixel size and store method. Counts are
// pixels; 32-bit pixels are written masked with `keepBits`, 16-bit ones
// whole.
struct PixelLoops {
    VectorSet set;
    KeyedStores keyedStores;
    int bytesPerPixel;
    // Columns a vector of the column loop holds (0: the loop takes each
    // column on its own), and whether the columns after the last whole
    // vector make one more vector, whose loads and stores touch only them.
    int64_t columnLanes;
    bool partialColumnVectors;

    void (*fill)(uint8_t* out, int64_t count, uint32_t raw);
    // out = in & keepBits.
    void (*copyMasked)(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits);
    // Source pixels the key holds are left out; the others are written.
    void (*copyKeyed)(const RowArea& area, ColourKey key, uint32_t keepBits);
    // out[i] = in[columns[i]]; `columns` never decrease.
    void (*pickColumns)(uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits);
    // `layout` comes from LayOutColumns with these loops.
    void (*copyKeyedColumns)(
        const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, ColourKey key);
    // As copyMasked and fill, writing past the caches (where the set can);
    // FinishStreaming after the last.
    void (*streamCopy)(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits);
    void (*streamFill)(uint8_t* out, int64_t count, uint32_t raw);
};

// The loops of `set` for this pixel size and method; null when the set is
// not built into this program (another processor family) or the processor
// lacks it. A set without masked stores for that size gives its blending
// loops for either method.
const PixelLoops* LoopsOf(VectorSet set, KeyedStores method, int bytesPerPixel);
// Whether the processor runs `set`.
bool ProcessorHas(VectorSet set);
// Makes streaming stores visible to other observers (the display).
void FinishStreaming();

// Fills `groups` (room for band.width) and `vectorGroups` (room for
// band.width / lanes + 2) for `loops`' column loop and returns the layout.
ColumnLayout LayOutColumns(const ColumnBand& band, const PixelLoops& loops, LaneGroup* groups, int32_t* vectorGroups);

} // namespace platform::pixels
