#include "ddraw/pixel_columns_avx2.h"

#include <climits>

#include "ddraw/column_placements.h"
#include "ddraw/pixel_vectors_avx2.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX2_PATH

namespace {

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
    // The lanes whose bits are set in `bits`.
    AVX2 static __m256i Lanes(uint32_t bits)
    {
        const __m256i each = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(int32_t(bits)), each), each);
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
    AVX2 static __m256i Lanes(uint32_t bits)
    {
        const __m256i each
            = _mm256_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384, int16_t(32768));
        return _mm256_cmpeq_epi16(_mm256_and_si256(_mm256_set1_epi16(int16_t(bits)), each), each);
    }
    static constexpr int64_t kLanes = 16;
};

// Columns first .. first + count - 1, a whole number of vectors and at most
// kChunkColumns, row by row across all of them.
template <typename Key>
AVX2 void CopyColumnVectors(const ColumnBand& band, int64_t first, int64_t count, const Key& key, int64_t pixelBytes)
{
    ColumnPlacement placements[kChunkColumns];
    __m256i lanes[kChunkColumns];
    const int64_t used = PlaceColumns(band, first, count, Key::kLanes, pixelBytes, placements);
    for (int64_t p = 0; p < used; ++p)
        lanes[p] = Key::Lanes(placements[p].lanes);

    const Key local = key; // in registers: stores through byte pointers could alias the caller's
    const uint8_t* inRow = band.in;
    uint8_t* outRow = band.out;
    for (int64_t y = 0; y < band.height; ++y, inRow += band.inPitch, outRow += band.outPitch)
        for (int64_t p = 0; p < used; ++p) {
            const __m256i value = Load(inRow + placements[p].inOffset);
            const __m256i write = _mm256_and_si256(local.Draw(value), lanes[p]);
            uint8_t* out = outRow + placements[p].outOffset;
            Store(out, _mm256_blendv_epi8(Load(out), value, write));
        }
}

template <typename Key>
AVX2 int64_t CopyColumns(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange, int64_t pixelBytes)
{
    const Key key(keyLow, keyRange);
    return CopyInChunks(band, Key::kLanes,
        [&](int64_t first, int64_t count) { CopyColumnVectors(band, first, count, key, pixelBytes); });
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
