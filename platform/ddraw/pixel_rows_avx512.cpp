#include "ddraw/pixel_rows_avx512.h"

#include "ddraw/pixel_vectors_avx512.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX512_PATH

// A pixel is drawn when (value - low) > range, unsigned: AVX-512 compares
// unsigned lanes directly, straight into a mask.
AVX512 void CopyKeyed32Avx512(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    const __m512i low = _mm512_set1_epi32(int32_t(keyLow));
    const __m512i range = _mm512_set1_epi32(int32_t(keyRange));
    const __m512i keep = _mm512_set1_epi32(int32_t(keepBits));
    const int64_t whole = area.width / 16 * 16;
    const __mmask16 rest = __mmask16((1u << (area.width - whole)) - 1);
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    for (int64_t y = 0; y < area.height; ++y, out += area.outPitch, in += area.inPitch) {
        for (int64_t x = 0; x < whole; x += 16) {
            const __m512i value = _mm512_loadu_si512(in + x * 4);
            const __mmask16 draw = _mm512_cmpgt_epu32_mask(_mm512_sub_epi32(value, low), range);
            _mm512_mask_storeu_epi32(out + x * 4, draw, _mm512_and_si512(value, keep));
        }
        if (rest == 0) continue;
        const __m512i value = _mm512_maskz_loadu_epi32(rest, in + whole * 4);
        const __mmask16 draw = _mm512_mask_cmpgt_epu32_mask(rest, _mm512_sub_epi32(value, low), range);
        _mm512_mask_storeu_epi32(out + whole * 4, draw, _mm512_and_si512(value, keep));
    }
}

AVX512 void CopyKeyed16Avx512(const Area& area, uint32_t keyLow, uint32_t keyRange)
{
    const __m512i low = _mm512_set1_epi16(int16_t(keyLow));
    const __m512i range = _mm512_set1_epi16(int16_t(keyRange));
    const int64_t whole = area.width / 32 * 32;
    const __mmask32 rest = __mmask32((uint64_t(1) << (area.width - whole)) - 1);
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    for (int64_t y = 0; y < area.height; ++y, out += area.outPitch, in += area.inPitch) {
        for (int64_t x = 0; x < whole; x += 32) {
            const __m512i value = _mm512_loadu_si512(in + x * 2);
            const __mmask32 draw = _mm512_cmpgt_epu16_mask(_mm512_sub_epi16(value, low), range);
            _mm512_mask_storeu_epi16(out + x * 2, draw, value);
        }
        if (rest == 0) continue;
        const __m512i value = _mm512_maskz_loadu_epi16(rest, in + whole * 2);
        const __mmask32 draw = _mm512_mask_cmpgt_epu16_mask(rest, _mm512_sub_epi16(value, low), range);
        _mm512_mask_storeu_epi16(out + whole * 2, draw, value);
    }
}

// Sixteen pixels that come from at most sixteen neighbours, as in any
// magnification, are one load and one shuffle; others are gathered.
AVX512 int64_t PickColumns32Avx512(
    uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits)
{
    const __m512i keep = _mm512_set1_epi32(int32_t(keepBits));
    int64_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m512i index = _mm512_loadu_si512(columns + x);
        const int32_t first = columns[x], span = columns[x + 15] - first;
        __m512i value;
        if (span < 16) {
            const __m512i near = _mm512_maskz_loadu_epi32(__mmask16((1u << (span + 1)) - 1), in + int64_t(first) * 4);
            value = _mm512_maskz_permutexvar_epi32(0xFFFF, _mm512_sub_epi32(index, _mm512_set1_epi32(first)), near);
        } else {
            value = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), 0xFFFF, index, in, 4);
        }
        _mm512_storeu_si512(out + x * 4, _mm512_and_si512(value, keep));
    }
    return x;
}

// Whole vectors, then one masked store: short rows, such as the parts of a
// band left uncovered, cost no call to memset.
AVX512 static void FillVectors(uint8_t* out, int64_t bytes, __m512i value)
{
    int64_t at = 0;
    for (; at + 64 <= bytes; at += 64)
        _mm512_storeu_si512(out + at, value);
    if (at < bytes) _mm512_mask_storeu_epi8(out + at, __mmask64((~uint64_t(0)) >> (64 - (bytes - at))), value);
}

AVX512 void Fill32Avx512(uint8_t* out, int64_t count, uint32_t value)
{
    FillVectors(out, count * 4, _mm512_set1_epi32(int32_t(value)));
}

AVX512 void Fill16Avx512(uint8_t* out, int64_t count, uint16_t value)
{
    FillVectors(out, count * 2, _mm512_set1_epi16(int16_t(value)));
}

// Four vectors a step: a row of a frame is a few dozen steps.
AVX512 void CopyMasked32Avx512(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits)
{
    const __m512i keep = _mm512_set1_epi32(int32_t(keepBits));
    int64_t x = 0;
    for (; x + 64 <= count; x += 64)
        for (int64_t part = 0; part < 64; part += 16)
            _mm512_storeu_si512(out + (x + part) * 4, _mm512_and_si512(_mm512_loadu_si512(in + (x + part) * 4), keep));
    for (; x + 16 <= count; x += 16)
        _mm512_storeu_si512(out + x * 4, _mm512_and_si512(_mm512_loadu_si512(in + x * 4), keep));
    if (x == count) return;
    const __mmask16 rest = __mmask16((1u << (count - x)) - 1);
    _mm512_mask_storeu_epi32(out + x * 4, rest, _mm512_and_si512(_mm512_maskz_loadu_epi32(rest, in + x * 4), keep));
}

#else

void CopyKeyed32Avx512(const Area&, uint32_t, uint32_t, uint32_t) { }
void CopyKeyed16Avx512(const Area&, uint32_t, uint32_t) { }
void CopyMasked32Avx512(uint8_t*, const uint8_t*, int64_t, uint32_t) { }
void Fill32Avx512(uint8_t*, int64_t, uint32_t) { }
void Fill16Avx512(uint8_t*, int64_t, uint16_t) { }
int64_t PickColumns32Avx512(uint8_t*, const uint8_t*, const int32_t*, int64_t, uint32_t) { return 0; }

#endif

} // namespace platform::ddraw::rows
