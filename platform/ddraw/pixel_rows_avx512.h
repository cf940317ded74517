// Keyed row loops sixteen 32-bit or thirty-two 16-bit pixels a step, for
// processors with AVX-512 (see HaveAvx512). Mask registers pick the lanes
// to store, so a row's end and its transparent pixels cost no extra pass.
#pragma once

#include "ddraw/pixel_rows.h"
#include "ddraw/vector_sets.h"

namespace platform::ddraw::rows {

// As CopyKeyed32 and CopyKeyed16; the 16-bit one only for a key range that
// lies within 16 bits.
void CopyKeyed32Avx512(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits);
void CopyKeyed16Avx512(const Area& area, uint32_t keyLow, uint32_t keyRange);
// As PickColumns32: whole vectors of sixteen.
int64_t PickColumns32Avx512(uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits);
// As Fill32 and Fill16.
void Fill32Avx512(uint8_t* out, int64_t count, uint32_t value);
void Fill16Avx512(uint8_t* out, int64_t count, uint16_t value);
// As CopyMasked32.
void CopyMasked32Avx512(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits);

} // namespace platform::ddraw::rows
