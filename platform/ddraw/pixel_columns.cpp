#include "ddraw/pixel_columns.h"

#include <climits>

#include "ddraw/column_placements.h"
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
    // The lanes whose bits are set in `bits`.
    static __m128i Lanes(uint32_t bits)
    {
        const __m128i each = _mm_setr_epi32(1, 2, 4, 8);
        return _mm_cmpeq_epi32(_mm_and_si128(_mm_set1_epi32(int32_t(bits)), each), each);
    }
    static constexpr int64_t kLanes = 4;
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
    static __m128i Lanes(uint32_t bits)
    {
        const __m128i each = _mm_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm_cmpeq_epi16(_mm_and_si128(_mm_set1_epi16(int16_t(bits)), each), each);
    }
    static constexpr int64_t kLanes = 8;
};

// Columns first .. first + count - 1, a whole number of vectors and at most
// kChunkColumns, row by row across all of them. One flat loop over the
// placements, rather than one over the vectors with another inside, keeps
// its branches predictable.
template <typename Key>
void CopyColumnVectors(const ColumnBand& band, int64_t first, int64_t count, const Key& key, int64_t pixelBytes)
{
    ColumnPlacement placements[kChunkColumns];
    __m128i lanes[kChunkColumns];
    const int64_t used = PlaceColumns(band, first, count, Key::kLanes, pixelBytes, placements);
    for (int64_t p = 0; p < used; ++p)
        lanes[p] = Key::Lanes(placements[p].lanes);

    const Key local = key; // in registers: stores through byte pointers could alias the caller's
    const uint8_t* inRow = band.in;
    uint8_t* outRow = band.out;
    for (int64_t y = 0; y < band.height; ++y, inRow += band.inPitch, outRow += band.outPitch)
        for (int64_t p = 0; p < used; ++p) {
            const __m128i value = LoadVector(inRow + placements[p].inOffset);
            const __m128i write = _mm_and_si128(local.Draw(value), lanes[p]);
            uint8_t* out = outRow + placements[p].outOffset;
            StoreVector(out, _mm_or_si128(_mm_and_si128(write, value), _mm_andnot_si128(write, LoadVector(out))));
        }
}

template <typename Pixel, typename Key> void CopyColumns(const ColumnBand& band, uint32_t keyLow, uint32_t keyRange)
{
    const Key key(keyLow, keyRange);
    const int64_t done = CopyInChunks(band, Key::kLanes,
        [&](int64_t first, int64_t count) { CopyColumnVectors(band, first, count, key, int64_t(sizeof(Pixel))); });
    CopyColumnsOneByOne<Pixel>(band, done, keyLow, keyRange);
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

int64_t PlaceColumns(const ColumnBand& band, int64_t first, int64_t count, int64_t lanes, int64_t pixelBytes,
    ColumnPlacement* placements)
{
    int64_t used = 0;
    for (int64_t vector = first; vector < first + count; vector += lanes) {
        const int64_t vectorStart = used;
        for (int64_t lane = 0; lane < lanes; ++lane) {
            const int64_t offset = band.firstRows[vector + lane] * band.outPitch + vector * pixelBytes;
            int64_t p = vectorStart;
            while (p < used && placements[p].outOffset != offset)
                ++p;
            if (p == used) placements[used++] = { vector * pixelBytes, offset, 0 };
            placements[p].lanes |= uint32_t(1) << lane;
        }
    }
    return used;
}

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
