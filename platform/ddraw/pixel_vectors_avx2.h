// AVX2 loads and stores shared by the row and column loops. Only functions
// marked AVX2 may use them, and only after HaveAvx2() said yes.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <cstdint>

#include <immintrin.h>

#define SAMPLE_HAVE_AVX2_PATH 1
#define AVX2 __attribute__((target("avx2")))

namespace platform::ddraw::rows {

AVX2 inline __m256i Load(const uint8_t* address)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(address));
}
AVX2 inline void Store(uint8_t* address, __m256i value)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(address), value);
}

} // namespace platform::ddraw::rows
#endif
