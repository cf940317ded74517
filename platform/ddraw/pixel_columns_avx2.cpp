#include "ddraw/pixel_columns_avx2.h"

#include <climits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SAMPLE_HAVE_AVX2_PATH 1
#endif

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX2_PATH

namespace {

#define AVX2 __attribute__((target("avx2")))

AVX2 __m256i Load(const uint8_t* address) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(address)); }
AVX2 void Store(uint8_t* address, __m256i value) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(address), value); }

// The unsigned test (value - low) > range, made signed by a shift of the
// lanes' top bit.
struct Key32 {
    __m256i low, bias, range;
    AVX2 Key32(uint32_t keyLow, uint32_t keyRange)
        : low(_mm256_set1_epi32(int32_t(keyLow)))
        , bias(_mm256_set1_epi32(INT32_MIN))
        , range(_mm256_xor_si256(_mm256_set1_epi32(int32_t(keyRange)), bias))
    {
    }
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi32(_mm256_xor_si256(_mm256_sub_epi32(value, low), bias), range);
    }
    // All bits of one lane of eight.
    AVX2 static __m256i Lane(int64_t lane)
    {
        return _mm256_cmpeq_epi32(_mm256_set1_epi32(int32_t(lane)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    static constexpr int64_t kLanes = 8;
};

struct Key16 {
    __m256i low, bias, range;
    AVX2 Key16(uint32_t keyLow, uint32_t keyRange)
        : low(_mm256_set1_epi16(int16_t(keyLow)))
        , bias(_mm256_set1_epi16(INT16_MIN))
        , range(_mm256_xor_si256(_mm256_set1_epi16(int16_t(keyRange)), bias))
    {
    }
    AVX2 __m256i Draw(__m256i value) const
    {
        return _mm256_cmpgt_epi16(_mm256_xor_si256(_mm256_sub_epi16(value, low), bias), range);
    }
    AVX2 static __m256i Lane(int64_t lane)
    {
        return _mm256_cmpeq_epi16(
            _mm256_set1_epi16(int16_t(lane)), _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    }
    static constexpr int64_t kLanes = 16;
};

// As in the SSE2 band: the columns of one vector that land on the same
// target rows, stored together.
struct Placement {
    __m256i lanes;
    int64_t inOffset;
    int64_t outOffset;
};

constexpr int64_t kChunkColumns = 256;

// Columns first .. first + count - 1, a whole number of vectors and at most
// kChunkColumns, row by row across all of them.
template <typename Key>
AVX2 void CopyColumnVectors(const ColumnBand& band, int64_t first, int64_t count, const Key& key, int64_t pixelBytes)
{
    Placement placements[kChunkColumns];
    int64_t used = 0;
    for (int64_t group = 0; group < count / Key::kLanes; ++group) {
        const int64_t groupStart = used;
        const int64_t groupColumn = first + group * Key::kLanes;
        for (int64_t lane = 0; lane < Key::kLanes; ++lane) {
            const int64_t offset = band.firstRows[groupColumn + lane] * band.outPitch + groupColumn * pixelBytes;
            int64_t p = groupStart;
            while (p < used && placements[p].outOffset != offset)
                ++p;
            if (p == used) placements[used++] = { _mm256_setzero_si256(), groupColumn * pixelBytes, offset };
            placements[p].lanes = _mm256_or_si256(placements[p].lanes, Key::Lane(lane));
        }
    }

    const uint8_t* inRow = band.in;
    uint8_t* outRow = band.out;
    for (int64_t y = 0; y < band.height; ++y, inRow += band.inPitch, outRow += band.outPitch) {
        for (int64_t p = 0; p < used; ++p) {
            const Placement& placement = placements[p];
            const __m256i value = Load(inRow + placement.inOffset);
            const __m256i write = _mm256_and_si256(key.Draw(value), placement.lanes);
            uint8_t* out = outRow + placement.outOffset;
            Store(out, _mm256_blendv_epi8(Load(out), value, write));
        }
    }
}

template <typename Key>
AVX2 int64_t CopyColumns(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange, int64_t pixelBytes)
{
    const Key key(keyLow, keyRange);
    const int64_t whole = band.width / Key::kLanes * Key::kLanes;
    for (int64_t column = 0; column < whole; column += kChunkColumns) {
        const int64_t count = whole - column < kChunkColumns ? whole - column : kChunkColumns;
        CopyColumnVectors(band, column, count, key, pixelBytes);
    }
    return whole;
}

} // namespace

AVX2 int64_t CopyKeyedColumns32Avx2(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    return CopyColumns<Key32>(band, keyLow, keyRange, 4);
}

AVX2 int64_t CopyKeyedColumns16Avx2(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    return CopyColumns<Key16>(band, keyLow, keyRange, 2);
}

#else

int64_t CopyKeyedColumns32Avx2(const ColumnBand&, uint32_t, uint32_t) { return 0; }
int64_t CopyKeyedColumns16Avx2(const ColumnBand&, uint32_t, uint32_t) { return 0; }

#endif

} // namespace platform::ddraw::rows
