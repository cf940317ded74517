#include "ddraw/pixel_columns_avx2.h"

#include <climits>

#include "ddraw/pixel_vectors_avx2.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX2_PATH

namespace {

// The unsigned test (value - low) > range, made signed by a shift of the
// lanes' top bit.
struct Key32 {
    __m256i low, bias, range, keep;
    AVX2 Key32(uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
        : low(_mm256_set1_epi32(int32_t(keyLow)))
        , bias(_mm256_set1_epi32(INT32_MIN))
        , range(_mm256_xor_si256(_mm256_set1_epi32(int32_t(keyRange)), bias))
        , keep(_mm256_set1_epi32(int32_t(keepBits)))
    {
    }
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi32(_mm256_xor_si256(_mm256_sub_epi32(value, low), bias), range);
    }
    // The lanes whose bits are set in `bits`.
    AVX2 static __m256i Lanes(uint32_t bits)
    {
        const __m256i each = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(int32_t(bits)), each), each);
    }
    // 32-bit lanes can be stored alone: the target is not read.
    AVX2 static void Put(uint8_t* out, __m256i draw, __m256i value)
    {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(out), draw, value);
    }
    static constexpr int64_t kLanes = 8;
};

struct Key16 {
    __m256i low, bias, range, keep;
    AVX2 Key16(uint32_t keyLow, uint32_t keyRange, uint32_t)
        : low(_mm256_set1_epi16(int16_t(keyLow)))
        , bias(_mm256_set1_epi16(INT16_MIN))
        , range(_mm256_xor_si256(_mm256_set1_epi16(int16_t(keyRange)), bias))
        , keep(_mm256_set1_epi32(-1))
    {
    }
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi16(_mm256_xor_si256(_mm256_sub_epi16(value, low), bias), range);
    }
    AVX2 static __m256i Lanes(uint32_t bits)
    {
        const __m256i each
            = _mm256_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384, int16_t(32768));
        return _mm256_cmpeq_epi16(_mm256_and_si256(_mm256_set1_epi16(int16_t(bits)), each), each);
    }
    AVX2 static void Put(uint8_t* out, __m256i draw, __m256i value)
    {
        if (_mm256_movemask_epi8(draw) != 0) Store(out, _mm256_blendv_epi8(Load(out), value, draw));
    }
    static constexpr int64_t kLanes = 16;
};

// Each target row of a vector gathers its lanes from the source rows their
// groups want, then is keyed and stored once.
template <typename Key>
AVX2 void CopyColumnVectors(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, const Key& key)
{
    const Key local = key; // in registers: stores through byte pointers could alias the caller's
    const WindowVectors vectors = VectorsIn(layout, window, Key::kLanes);
    for (int64_t vector = vectors.first; vector < vectors.end; ++vector) {
        const WindowVector part = VectorOfWindow(band, layout, window, vector, Key::kLanes, 32 / Key::kLanes);
        __m256i lanes[Key::kLanes];
        for (int g = 0; g < part.groups; ++g)
            lanes[g] = Key::Lanes(part.lanes[g]);
        uint8_t* out = part.out;
        for (int64_t row = part.top; row < part.bottom; ++row, out += window.outPitch) {
            __m256i value = _mm256_setzero_si256(), valid = _mm256_setzero_si256();
            for (int g = 0; g < part.groups; ++g) {
                const int64_t sourceRow = row - part.firstRows[g];
                if (uint64_t(sourceRow) >= uint64_t(band.height)) continue;
                value = _mm256_or_si256(value, _mm256_and_si256(Load(part.in + sourceRow * band.inPitch), lanes[g]));
                valid = _mm256_or_si256(valid, lanes[g]);
            }
            Key::Put(out, _mm256_and_si256(local.Draw(value), valid), _mm256_and_si256(value, local.keep));
        }
    }
}

} // namespace

AVX2 void CopyKeyedColumns32Avx2(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyColumnVectors(band, layout, window, Key32(keyLow, keyRange, window.keepBits));
}

AVX2 void CopyKeyedColumns16Avx2(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyColumnVectors(band, layout, window, Key16(keyLow, keyRange, window.keepBits));
}

#else

void CopyKeyedColumns32Avx2(const ColumnBand&, const ColumnLayout&, const ColumnWindow&, uint32_t, uint32_t) { }
void CopyKeyedColumns16Avx2(const ColumnBand&, const ColumnLayout&, const ColumnWindow&, uint32_t, uint32_t) { }

#endif

} // namespace platform::ddraw::rows
