#include "ddraw/pixel_rows_avx2.h"

#include <climits>
#include <cstring>

#include "ddraw/pixel_vectors_avx2.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX2_PATH

namespace {

// Lanes 0 .. count - 1 of eight 32-bit lanes set.
AVX2 __m256i FirstLanes(int64_t count)
{
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(int32_t(count)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// The unsigned test (value - low) > range, made signed by a shift of 2^31.
struct Key32 {
    __m256i low, bias, range;
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi32(_mm256_xor_si256(_mm256_sub_epi32(value, low), bias), range);
    }
};

struct Key16 {
    __m256i low, bias, range;
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi16(_mm256_xor_si256(_mm256_sub_epi16(value, low), bias), range);
    }
};

// Whole vectors drawn or skipped take no read of the target; mixed ones
// are stored lane by lane.
AVX2 void CopyRow32(uint8_t* out, const uint8_t* in, int64_t width, const Key32& key, __m256i keep)
{
    int64_t x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m256i value = Load(in + x * 4);
        const __m256i draw = key.Draw(value);
        const int drawn = _mm256_movemask_epi8(draw);
        if (drawn == 0) continue;
        if (drawn == -1)
            Store(out + x * 4, _mm256_and_si256(value, keep));
        else
            _mm256_maskstore_epi32(reinterpret_cast<int*>(out + x * 4), draw, _mm256_and_si256(value, keep));
    }
    if (x == width) return;
    // The rest of the row: masked loads and stores touch only its pixels.
    const __m256i lanes = FirstLanes(width - x);
    const __m256i value = _mm256_maskload_epi32(reinterpret_cast<const int*>(in + x * 4), lanes);
    const __m256i draw = _mm256_and_si256(key.Draw(value), lanes);
    if (_mm256_movemask_epi8(draw) != 0)
        _mm256_maskstore_epi32(reinterpret_cast<int*>(out + x * 4), draw, _mm256_and_si256(value, keep));
}

AVX2 void CopyRow16(
    uint8_t* out, const uint8_t* in, int64_t width, const Key16& key, uint32_t keyLow, uint32_t keyRange)
{
    int64_t x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m256i value = Load(in + x * 2);
        const __m256i draw = key.Draw(value);
        const int drawn = _mm256_movemask_epi8(draw);
        if (drawn == 0) continue;
        if (drawn == -1)
            Store(out + x * 2, value);
        else
            Store(out + x * 2, _mm256_blendv_epi8(Load(out + x * 2), value, draw));
    }
    // Pairs of pixels left: 32-bit lanes, each pixel of a pair keyed alone.
    const int64_t pairs = (width - x) / 2;
    if (pairs > 0) {
        const __m256i lanes = FirstLanes(pairs);
        const __m256i value = _mm256_maskload_epi32(reinterpret_cast<const int*>(in + x * 2), lanes);
        const __m256i draw = _mm256_and_si256(key.Draw(value), lanes);
        if (_mm256_movemask_epi8(draw) != 0) {
            const __m256i target = _mm256_maskload_epi32(reinterpret_cast<const int*>(out + x * 2), lanes);
            _mm256_maskstore_epi32(reinterpret_cast<int*>(out + x * 2), lanes, _mm256_blendv_epi8(target, value, draw));
        }
        x += pairs * 2;
    }
    if (x < width) {
        uint16_t value;
        std::memcpy(&value, in + x * 2, 2);
        if (uint32_t(value) - keyLow > keyRange) std::memcpy(out + x * 2, &value, 2);
    }
}

} // namespace

AVX2 void CopyKeyed32Avx2(const Area& area, uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    const __m256i bias = _mm256_set1_epi32(INT32_MIN);
    const Key32 key { _mm256_set1_epi32(int32_t(keyLow)), bias,
        _mm256_xor_si256(_mm256_set1_epi32(int32_t(keyRange)), bias) };
    const __m256i keep = _mm256_set1_epi32(int32_t(keepBits));
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    for (int64_t y = 0; y < area.height; ++y, out += area.outPitch, in += area.inPitch)
        CopyRow32(out, in, area.width, key, keep);
}

AVX2 void CopyKeyed16Avx2(const Area& area, uint32_t keyLow, uint32_t keyRange)
{
    const __m256i bias = _mm256_set1_epi16(INT16_MIN);
    const Key16 key { _mm256_set1_epi16(int16_t(keyLow)), bias,
        _mm256_xor_si256(_mm256_set1_epi16(int16_t(keyRange)), bias) };
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    for (int64_t y = 0; y < area.height; ++y, out += area.outPitch, in += area.inPitch)
        CopyRow16(out, in, area.width, key, keyLow, keyRange);
}

AVX2 int64_t CopyMasked32Avx2(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits)
{
    const __m256i keep = _mm256_set1_epi32(int32_t(keepBits));
    int64_t x = 0;
    for (; x + 8 <= count; x += 8)
        Store(out + x * 4, _mm256_and_si256(Load(in + x * 4), keep));
    return x;
}

#else

int64_t CopyMasked32Avx2(uint8_t*, const uint8_t*, int64_t, uint32_t) { return 0; }
void CopyKeyed32Avx2(const Area&, uint32_t, uint32_t, uint32_t) { }
void CopyKeyed16Avx2(const Area&, uint32_t, uint32_t) { }

#endif

} // namespace platform::ddraw::rows
