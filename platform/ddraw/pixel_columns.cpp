#include "ddraw/pixel_columns.h"

#include <algorithm>
#include <climits>

#include "ddraw/pixel_columns_avx2.h"
#include "ddraw/pixel_columns_avx512.h"
#include "ddraw/pixel_rows.h"
#include "ddraw/pixel_vectors_sse2.h"
#include "ddraw/vector_sets.h"

namespace platform::ddraw::rows {
namespace {

// One column on its own, through the ordinary keyed copy.
template <typename Pixel> void CopyOneColumn(const ColumnBand& band, int64_t column, uint32_t keyLow, uint32_t keyRange)
{
    const int64_t x = column * int64_t(sizeof(Pixel));
    const Area area { band.out + band.firstRows[column] * band.outPitch + x, band.outPitch, band.in + x, band.inPitch,
        1, band.height };
    if constexpr (sizeof(Pixel) == 4)
        CopyKeyed32(area, keyLow, keyRange, 0xFFFFFFFFu);
    else
        CopyKeyed16(area, keyLow, keyRange);
}

template <typename Pixel>
void CopyColumnsOneByOne(const ColumnBand& band, int64_t from, uint32_t keyLow, uint32_t keyRange)
{
    for (int64_t column = from; column < band.width; ++column)
        CopyOneColumn<Pixel>(band, column, keyLow, keyRange);
}

#if defined(__SSE2__)

// The unsigned test (value - low) > range, made signed by a shift of the
// lanes' top bit, as SSE2 compares signed only.
struct Key32 {
    __m128i low, bias, range;
    Key32(uint32_t keyLow, uint32_t keyRange)
        : low(_mm_set1_epi32(int32_t(keyLow)))
        , bias(_mm_set1_epi32(INT32_MIN))
        , range(_mm_xor_si128(_mm_set1_epi32(int32_t(keyRange)), bias))
    {
    }
    __m128i Draw(__m128i value) const { return _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(value, low), bias), range); }
};

// Only for a key range that lies within 16 bits.
struct Key16 {
    __m128i low, bias, range;
    Key16(uint32_t keyLow, uint32_t keyRange)
        : low(_mm_set1_epi16(int16_t(keyLow)))
        , bias(_mm_set1_epi16(INT16_MIN))
        , range(_mm_xor_si128(_mm_set1_epi16(int16_t(keyRange)), bias))
    {
    }
    __m128i Draw(__m128i value) const { return _mm_cmpgt_epi16(_mm_xor_si128(_mm_sub_epi16(value, low), bias), range); }
};

// The columns of one vector that land on the same target rows, stored
// together: `lanes` picks them; `inOffset` is where the vector lies in a
// source row, `outOffset` where it meets target row 0 of their placement.
struct Placement {
    int64_t inOffset;
    int64_t outOffset;
    __m128i lanes;
};

constexpr int64_t kChunkColumns = 256;

template <typename Pixel> __m128i Lane(int64_t lane)
{
    alignas(16) Pixel bits[16 / sizeof(Pixel)] = {};
    bits[lane] = Pixel(~Pixel(0));
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bits));
}

// Columns first .. first + count - 1, a whole number of vectors and at most
// kChunkColumns: each source row is read once across all of them, and a
// vector is stored on as many target rows as its columns have placements,
// usually one or two. One flat loop over the placements, rather than one
// over the vectors with another inside, keeps its branches predictable.
template <typename Pixel, typename Key>
void CopyColumnVectors(const ColumnBand& band, int64_t first, int64_t count, const Key& key)
{
    constexpr int64_t kLanes = 16 / int64_t(sizeof(Pixel));
    Placement placements[kChunkColumns];
    int64_t used = 0;
    for (int64_t group = 0; group < count / kLanes; ++group) {
        const int64_t groupStart = used;
        const int64_t groupX = (first + group * kLanes) * int64_t(sizeof(Pixel));
        for (int64_t lane = 0; lane < kLanes; ++lane) {
            const int64_t offset = band.firstRows[first + group * kLanes + lane] * band.outPitch + groupX;
            int64_t p = groupStart;
            while (p < used && placements[p].outOffset != offset)
                ++p;
            if (p == used) placements[used++] = { groupX, offset, _mm_setzero_si128() };
            placements[p].lanes = _mm_or_si128(placements[p].lanes, Lane<Pixel>(lane));
        }
    }

    const uint8_t* inRow = band.in;
    uint8_t* outRow = band.out;
    for (int64_t y = 0; y < band.height; ++y, inRow += band.inPitch, outRow += band.outPitch) {
        for (int64_t p = 0; p < used; ++p) {
            const Placement& placement = placements[p];
            const __m128i value = LoadVector(inRow + placement.inOffset);
            const __m128i write = _mm_and_si128(key.Draw(value), placement.lanes);
            uint8_t* out = outRow + placement.outOffset;
            StoreVector(out, _mm_or_si128(_mm_and_si128(write, value), _mm_andnot_si128(write, LoadVector(out))));
        }
    }
}

template <typename Pixel, typename Key> void CopyColumns(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    constexpr int64_t kLanes = 16 / int64_t(sizeof(Pixel));
    const Key key(keyLow, keyRange);
    int64_t column = 0;
    while (band.width - column >= kLanes) {
        const int64_t count = std::min(kChunkColumns, (band.width - column) / kLanes * kLanes);
        CopyColumnVectors<Pixel>(band, column, count, key);
        column += count;
    }
    CopyColumnsOneByOne<Pixel>(band, column, keyLow, keyRange);
}

#endif

// The band without its first `columns` columns.
template <typename Pixel> ColumnBand Rest(const ColumnBand& band, int64_t columns)
{
    const int64_t bytes = columns * int64_t(sizeof(Pixel));
    return { band.out + bytes, band.outPitch, band.in + bytes, band.inPitch, band.width - columns, band.height,
        band.firstRows + columns };
}

} // namespace

void CopyKeyedColumns32(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    // The widest vectors take what whole vectors they can, narrower ones the rest.
    ColumnBand rest = band;
    if (HaveAvx512()) rest = Rest<uint32_t>(rest, CopyKeyedColumns32Avx512(rest, keyLow, keyRange));
    if (HaveAvx2()) rest = Rest<uint32_t>(rest, CopyKeyedColumns32Avx2(rest, keyLow, keyRange));
#if defined(__SSE2__)
    CopyColumns<uint32_t, Key32>(rest, keyLow, keyRange);
#else
    CopyColumnsOneByOne<uint32_t>(rest, 0, keyLow, keyRange);
#endif
}

void CopyKeyedColumns16(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    if (keyLow > 0xFFFF || keyRange > 0xFFFF - keyLow) {
        CopyColumnsOneByOne<uint16_t>(band, 0, keyLow, keyRange);
        return;
    }
    ColumnBand rest = band;
    if (HaveAvx512()) rest = Rest<uint16_t>(rest, CopyKeyedColumns16Avx512(rest, keyLow, keyRange));
    if (HaveAvx2()) rest = Rest<uint16_t>(rest, CopyKeyedColumns16Avx2(rest, keyLow, keyRange));
#if defined(__SSE2__)
    CopyColumns<uint16_t, Key16>(rest, keyLow, keyRange);
#else
    CopyColumnsOneByOne<uint16_t>(rest, 0, keyLow, keyRange);
#endif
}

} // namespace platform::ddraw::rows
