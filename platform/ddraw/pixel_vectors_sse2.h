// SSE2 loads and stores shared by the row and column loops. SSE2 is part of
// every x86-64; elsewhere these are absent and the loops run plain.
#pragma once

#if defined(__SSE2__)
#include <cstdint>

#include <emmintrin.h>

namespace platform::ddraw::rows {

inline __m128i LoadVector(const uint8_t* address) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(address)); }
inline void StoreVector(uint8_t* address, __m128i value)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(address), value);
}

// Writes `value` where `draw` is set and leaves the rest of the 16 bytes.
// Whole vectors drawn or skipped, the usual case inside and around a
// picture's transparent areas, take no read of the target.
inline void StoreWhere(uint8_t* out, __m128i draw, __m128i value)
{
    const int drawn = _mm_movemask_epi8(draw);
    if (drawn == 0) return;
    if (drawn != 0xFFFF) value = _mm_or_si128(_mm_and_si128(draw, value), _mm_andnot_si128(draw, LoadVector(out)));
    StoreVector(out, value);
}

} // namespace platform::ddraw::rows
#endif
