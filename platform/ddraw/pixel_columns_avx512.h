// The column band sixteen 32-bit or thirty-two 16-bit columns a vector, for
// processors with AVX-512 (see HaveAvx512).
#pragma once

#include <cstdint>

#include "ddraw/pixel_columns.h"

namespace platform::ddraw::rows {

// Copies the band's first columns, a whole number of vectors, and returns
// how many it did; the caller does the rest. The 16-bit one only for a key
// range that lies within 16 bits.
int64_t CopyKeyedColumns32Avx512(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange);
int64_t CopyKeyedColumns16Avx512(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange);

} // namespace platform::ddraw::rows
