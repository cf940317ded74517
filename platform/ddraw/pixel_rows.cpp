#include "ddraw/pixel_rows.h"

#include "ddraw/pixel_rows_avx2.h"
#include "ddraw/pixel_rows_avx512.h"

#include <cstring>

#include "ddraw/pixel_vectors_sse2.h"

namespace platform::ddraw::rows {
namespace {

#if defined(__SSE2__)
// StoreWhere for the low 8 bytes, for the pixels after the last whole vector:
// a vector overlapping the one just written would have to wait for that
// store before it could read the target.
__m128i LoadHalf(const uint8_t* address) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(address)); }

void StoreHalfWhere(uint8_t* out, __m128i draw, __m128i value)
{
    const int drawn = _mm_movemask_epi8(draw) & 0xFF;
    if (drawn == 0) return;
    if (drawn != 0xFF) value = _mm_or_si128(_mm_and_si128(draw, value), _mm_andnot_si128(draw, LoadHalf(out)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), value);
}

// And for the low 4 bytes.
__m128i LoadQuarter(const uint8_t* address) { return _mm_cvtsi32_si128(int32_t(Load<uint32_t>(address))); }

void StoreQuarterWhere(uint8_t* out, __m128i draw, __m128i value)
{
    const int drawn = _mm_movemask_epi8(draw) & 0xF;
    if (drawn == 0) return;
    if (drawn != 0xF) value = _mm_or_si128(_mm_and_si128(draw, value), _mm_andnot_si128(draw, LoadQuarter(out)));
    Store<uint32_t>(out, uint32_t(_mm_cvtsi128_si32(value)));
}
#endif

} // namespace

void Fill32(uint8_t* out, int64_t count, uint32_t value)
{
    if (count <= 0) return;
    if (HaveAvx512()) {
        Fill32Avx512(out, count, value);
        return;
    }
    const uint8_t byte = uint8_t(value);
    if (value == byte * 0x01010101u) {
        std::memset(out, byte, size_t(count) * 4);
        return;
    }
    int64_t x = 0;
#if defined(__SSE2__)
    const __m128i vector = _mm_set1_epi32(int32_t(value));
    for (; x + 4 <= count; x += 4)
        StoreVector(out + x * 4, vector);
#endif
    for (; x < count; ++x)
        Store<uint32_t>(out + x * 4, value);
}

void Fill16(uint8_t* out, int64_t count, uint16_t value)
{
    if (count <= 0) return;
    if (HaveAvx512()) {
        Fill16Avx512(out, count, value);
        return;
    }
    const uint8_t byte = uint8_t(value);
    if (value == byte * 0x0101u) {
        std::memset(out, byte, size_t(count) * 2);
        return;
    }
    int64_t x = 0;
#if defined(__SSE2__)
    const __m128i vector = _mm_set1_epi16(int16_t(value));
    for (; x + 8 <= count; x += 8)
        StoreVector(out + x * 2, vector);
#endif
    for (; x < count; ++x)
        Store<uint16_t>(out + x * 2, value);
}

void CopyMasked32(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits)
{
    if (HaveAvx512()) {
        CopyMasked32Avx512(out, in, count, keepBits);
        return;
    }
    int64_t x = HaveAvx2() ? CopyMasked32Avx2(out, in, count, keepBits) : 0;
#if defined(__SSE2__)
    const __m128i keep = _mm_set1_epi32(int32_t(keepBits));
    for (; x + 8 <= count; x += 8) {
        const __m128i first = _mm_and_si128(LoadVector(in + x * 4), keep);
        const __m128i second = _mm_and_si128(LoadVector(in + x * 4 + 16), keep);
        StoreVector(out + x * 4, first);
        StoreVector(out + x * 4 + 16, second);
    }
    for (; x + 4 <= count; x += 4)
        StoreVector(out + x * 4, _mm_and_si128(LoadVector(in + x * 4), keep));
#endif
    for (; x < count; ++x)
        Store<uint32_t>(out + x * 4, Load<uint32_t>(in + x * 4) & keepBits);
}

namespace {

// The pixels after the last whole vector, one at a time.
template <typename Pixel>
void CopyKeyedTail(
    uint8_t* out, const uint8_t* in, int64_t from, int64_t to, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    for (int64_t x = from; x < to; ++x) {
        const Pixel value = Load<Pixel>(in + x * int64_t(sizeof(Pixel)));
        if (uint32_t(value) - keyLow > keyRange)
            Store<Pixel>(out + x * int64_t(sizeof(Pixel)), Pixel(value & keepBits));
    }
}

// A column one pixel wide, such as a wave's: no row setup at all, four rows
// a step so that the loop's own bookkeeping is shared.
template <typename Pixel, bool masked>
void CopyKeyedColumnRows(uint8_t* out, int64_t outPitch, const uint8_t* in, int64_t inPitch, int64_t height,
    uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    auto copy = [&](uint8_t* to, const uint8_t* from) {
        const Pixel value = Load<Pixel>(from);
        if (uint32_t(value) - keyLow > keyRange) Store<Pixel>(to, masked ? Pixel(value & keepBits) : value);
    };
    int64_t y = 0;
    for (; y + 4 <= height; y += 4, out += 4 * outPitch, in += 4 * inPitch) {
        copy(out, in);
        copy(out + outPitch, in + inPitch);
        copy(out + 2 * outPitch, in + 2 * inPitch);
        copy(out + 3 * outPitch, in + 3 * inPitch);
    }
    for (; y < height; ++y, out += outPitch, in += inPitch)
        copy(out, in);
}

template <typename Pixel>
void CopyKeyedColumn(uint8_t* out, int64_t outPitch, const uint8_t* in, int64_t inPitch, int64_t height,
    uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    if (Pixel(keepBits) == Pixel(~Pixel(0)))
        CopyKeyedColumnRows<Pixel, false>(out, outPitch, in, inPitch, height, keyLow, keyRange, keepBits);
    else
        CopyKeyedColumnRows<Pixel, true>(out, outPitch, in, inPitch, height, keyLow, keyRange, keepBits);
}

} // namespace

void CopyKeyed32(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    // Locals, not the structure: a store through a byte pointer could alias
    // it, and it would be read again after every store.
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    const int64_t width = area.width, height = area.height, outPitch = area.outPitch, inPitch = area.inPitch;
    if (width == 1) {
        CopyKeyedColumn<uint32_t>(out, outPitch, in, inPitch, height, keyLow, keyRange, keepBits);
        return;
    }
    if (HaveAvx512()) {
        CopyKeyed32Avx512(area, keyLow, keyRange, keepBits);
        return;
    }
    if (HaveAvx2()) {
        CopyKeyed32Avx2(area, keyLow, keyRange, keepBits);
        return;
    }
#if defined(__SSE2__)
    // SSE2 compares signed: shifting both sides by 2^31 makes the unsigned
    // test (value - low) > range a signed one.
    const __m128i low = _mm_set1_epi32(int32_t(keyLow));
    const __m128i bias = _mm_set1_epi32(INT32_MIN);
    const __m128i range = _mm_xor_si128(_mm_set1_epi32(int32_t(keyRange)), bias);
    const __m128i keep = _mm_set1_epi32(int32_t(keepBits));
#endif
    for (int64_t y = 0; y < height; ++y, out += outPitch, in += inPitch) {
        int64_t x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= width; x += 4) {
            const __m128i value = LoadVector(in + x * 4);
            const __m128i draw = _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(value, low), bias), range);
            StoreWhere(out + x * 4, draw, _mm_and_si128(value, keep));
        }
        if (x + 2 <= width) {
            const __m128i value = LoadHalf(in + x * 4);
            const __m128i draw = _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(value, low), bias), range);
            StoreHalfWhere(out + x * 4, draw, _mm_and_si128(value, keep));
            x += 2;
        }
#endif
        CopyKeyedTail<uint32_t>(out, in, x, width, keyLow, keyRange, keepBits);
    }
}

void CopyKeyed16(const Area& area, uint32_t keyLow, uint32_t keyRange)
{
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    const int64_t width = area.width, height = area.height, outPitch = area.outPitch, inPitch = area.inPitch;
    if (width == 1) {
        CopyKeyedColumn<uint16_t>(out, outPitch, in, inPitch, height, keyLow, keyRange, 0xFFFFu);
        return;
    }
    if (keyLow <= 0xFFFF && keyRange <= 0xFFFF - keyLow) {
        if (HaveAvx512()) {
            CopyKeyed16Avx512(area, keyLow, keyRange);
            return;
        }
        if (HaveAvx2()) {
            CopyKeyed16Avx2(area, keyLow, keyRange);
            return;
        }
    }
#if defined(__SSE2__)
    // 16-bit lanes give the same answer as the 32-bit test only while the
    // whole key range lies within 16 bits.
    const bool vectors = keyLow <= 0xFFFF && keyRange <= 0xFFFF - keyLow;
    const __m128i low = _mm_set1_epi16(int16_t(keyLow));
    const __m128i bias = _mm_set1_epi16(INT16_MIN);
    const __m128i range = _mm_xor_si128(_mm_set1_epi16(int16_t(keyRange)), bias);
#endif
    for (int64_t y = 0; y < height; ++y, out += outPitch, in += inPitch) {
        int64_t x = 0;
#if defined(__SSE2__)
        if (vectors) {
            for (; x + 8 <= width; x += 8) {
                const __m128i value = LoadVector(in + x * 2);
                const __m128i draw = _mm_cmpgt_epi16(_mm_xor_si128(_mm_sub_epi16(value, low), bias), range);
                StoreWhere(out + x * 2, draw, value);
            }
            if (x + 4 <= width) {
                const __m128i value = LoadHalf(in + x * 2);
                const __m128i draw = _mm_cmpgt_epi16(_mm_xor_si128(_mm_sub_epi16(value, low), bias), range);
                StoreHalfWhere(out + x * 2, draw, value);
                x += 4;
            }
            if (x + 2 <= width) {
                const __m128i value = LoadQuarter(in + x * 2);
                const __m128i draw = _mm_cmpgt_epi16(_mm_xor_si128(_mm_sub_epi16(value, low), bias), range);
                StoreQuarterWhere(out + x * 2, draw, value);
                x += 2;
            }
        }
#endif
        CopyKeyedTail<uint16_t>(out, in, x, width, keyLow, keyRange, 0xFFFFu);
    }
}

int64_t PickColumns32(uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits)
{
    return HaveAvx512() ? PickColumns32Avx512(out, in, columns, count, keepBits) : 0;
}

} // namespace platform::ddraw::rows
