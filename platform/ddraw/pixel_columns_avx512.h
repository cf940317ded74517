// The column loops sixteen 32-bit or thirty-two 16-bit columns a vector,
// for processors with AVX-512 (see HaveAvx512).
#pragma once

#include <cstdint>

#include "ddraw/pixel_columns.h"

namespace platform::ddraw::rows {

// The window's part in the band's whole vectors of a layout made for
// AVX-512; the caller does the columns after them. The 16-bit one only for
// a key range that lies within 16 bits.
void CopyKeyedColumns32Avx512(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange);
void CopyKeyedColumns16Avx512(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange);

} // namespace platform::ddraw::rows
