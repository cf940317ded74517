// Keyed row loops eight 32-bit or sixteen 16-bit pixels a step, for
// processors with AVX2; chosen at run time, so the build stays runnable on
// every x86-64.
#pragma once

#include "ddraw/pixel_rows.h"
#include "ddraw/vector_sets.h"

namespace platform::ddraw::rows {

// As CopyKeyed32 and CopyKeyed16, for areas more than one pixel wide; the
// 16-bit one only for a key range that lies within 16 bits.
void CopyKeyed32Avx2(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits);
void CopyKeyed16Avx2(const Area& area, uint32_t keyLow, uint32_t keyRange);
// As CopyMasked32, for the whole vectors of the row; returns how many pixels it did.
int64_t CopyMasked32Avx2(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits);

} // namespace platform::ddraw::rows
