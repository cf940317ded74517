#include "ddraw/pixel_columns_avx512.h"

#include "ddraw/column_placements.h"
#include "ddraw/pixel_vectors_avx512.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX512_PATH

namespace {

// A pixel is drawn when (value - low) > range, unsigned, straight into a
// mask register; masked stores then leave the other lanes' memory alone,
// with no read of the target.
struct Key32 {
    __m512i low, range;
    AVX512 Key32(uint32_t keyLow, uint32_t keyRange)
        : low(_mm512_set1_epi32(int32_t(keyLow)))
        , range(_mm512_set1_epi32(int32_t(keyRange)))
    {
    }
    using Mask = __mmask16;
    static constexpr int64_t kLanes = 16;
    AVX512 void Copy(uint8_t* out, const uint8_t* in, Mask lanes) const
    {
        const __m512i value = _mm512_loadu_si512(in);
        _mm512_mask_storeu_epi32(out, _mm512_mask_cmpgt_epu32_mask(lanes, _mm512_sub_epi32(value, low), range), value);
    }
};

struct Key16 {
    __m512i low, range;
    AVX512 Key16(uint32_t keyLow, uint32_t keyRange)
        : low(_mm512_set1_epi16(int16_t(keyLow)))
        , range(_mm512_set1_epi16(int16_t(keyRange)))
    {
    }
    using Mask = __mmask32;
    static constexpr int64_t kLanes = 32;
    AVX512 void Copy(uint8_t* out, const uint8_t* in, Mask lanes) const
    {
        const __m512i value = _mm512_loadu_si512(in);
        _mm512_mask_storeu_epi16(out, _mm512_mask_cmpgt_epu16_mask(lanes, _mm512_sub_epi16(value, low), range), value);
    }
};

// Columns first .. first + count - 1, a whole number of vectors and at most
// kChunkColumns, row by row across all of them.
template <typename Key>
AVX512 void CopyColumnVectors(const ColumnBand& band, int64_t first, int64_t count, const Key& key, int64_t pixelBytes)
{
    ColumnPlacement placements[kChunkColumns];
    const int64_t used = PlaceColumns(band, first, count, Key::kLanes, pixelBytes, placements);
    const Key local = key; // in registers: stores through byte pointers could alias the caller's
    const uint8_t* inRow = band.in;
    uint8_t* outRow = band.out;
    for (int64_t y = 0; y < band.height; ++y, inRow += band.inPitch, outRow += band.outPitch)
        for (int64_t p = 0; p < used; ++p)
            local.Copy(outRow + placements[p].outOffset, inRow + placements[p].inOffset,
                typename Key::Mask(placements[p].lanes));
}

template <typename Key>
AVX512 int64_t CopyColumns(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange, int64_t pixelBytes)
{
    const Key key(keyLow, keyRange);
    return CopyInChunks(band, Key::kLanes,
        [&](int64_t first, int64_t count) { CopyColumnVectors(band, first, count, key, pixelBytes); });
}

} // namespace

AVX512 int64_t CopyKeyedColumns32Avx512(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    return CopyColumns<Key32>(band, keyLow, keyRange, 4);
}

AVX512 int64_t CopyKeyedColumns16Avx512(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    return CopyColumns<Key16>(band, keyLow, keyRange, 2);
}

#else

int64_t CopyKeyedColumns32Avx512(const ColumnBand&, uint32_t, uint32_t) { return 0; }
int64_t CopyKeyedColumns16Avx512(const ColumnBand&, uint32_t, uint32_t) { return 0; }

#endif

} // namespace platform::ddraw::rows
