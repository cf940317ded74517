#include "common/rgb565.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::rgb565 {

void WidenRow(uint32_t* out, const uint8_t* in, int64_t count)
{
    int64_t x = 0;
#if defined(__SSE2__)
    const __m128i five = _mm_set1_epi16(0x1F);
    const __m128i six = _mm_set1_epi16(0x3F);
    for (; x + 8 <= count; x += 8) {
        const __m128i pixel = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x * 2));
        const __m128i red = _mm_and_si128(_mm_srli_epi16(pixel, 11), five);
        const __m128i green = _mm_and_si128(_mm_srli_epi16(pixel, 5), six);
        const __m128i blue = _mm_and_si128(pixel, five);
        const __m128i red8 = _mm_or_si128(_mm_slli_epi16(red, 3), _mm_srli_epi16(red, 2));
        const __m128i green8 = _mm_or_si128(_mm_slli_epi16(green, 2), _mm_srli_epi16(green, 4));
        const __m128i blue8 = _mm_or_si128(_mm_slli_epi16(blue, 3), _mm_srli_epi16(blue, 2));
        // Low half of each 32-bit pixel: green and blue; high half: red.
        const __m128i greenBlue = _mm_or_si128(_mm_slli_epi16(green8, 8), blue8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(greenBlue, red8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(greenBlue, red8));
    }
#endif
    for (; x < count; ++x) {
        uint16_t pixel;
        std::memcpy(&pixel, in + x * 2, 2);
        out[x] = ToXrgb(pixel);
    }
}

} // namespace platform::rgb565
