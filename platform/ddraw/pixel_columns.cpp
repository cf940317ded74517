#include "ddraw/pixel_columns.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "ddraw/pixel_columns_avx2.h"
#include "ddraw/pixel_columns_avx512.h"
#include "ddraw/pixel_rows.h"
#include "ddraw/pixel_vectors_sse2.h"
#include "ddraw/vector_sets.h"

namespace platform::ddraw::rows {
namespace {

bool KeyFits16(uint32_t keyLow, uint32_t keyRange) { return keyLow <= 0xFFFF && keyRange <= 0xFFFF - keyLow; }

// Columns from .. to - 1 of the window, each on its own.
template <typename Pixel>
void CopyColumnsOneByOne(
    const ColumnBand& band, const ColumnWindow& window, int64_t from, int64_t to, uint32_t keyLow, uint32_t keyRange)
{
    constexpr int64_t bytes = sizeof(Pixel);
    for (int64_t column = std::max(from, window.first); column < std::min(to, window.end); ++column) {
        const int64_t firstRow = band.firstRows[column];
        const int64_t top = std::max(window.top, firstRow), bottom = std::min(window.bottom, firstRow + band.height);
        const uint8_t* in = band.in + (top - firstRow) * band.inPitch + column * bytes;
        uint8_t* out = window.out + (top - window.top) * window.outPitch + column * bytes;
        for (int64_t row = top; row < bottom; ++row, in += band.inPitch, out += window.outPitch) {
            const Pixel value = Load<Pixel>(in);
            if (uint32_t(value) - keyLow > keyRange) Store<Pixel>(out, Pixel(value & window.keepBits));
        }
    }
}

#if defined(__SSE2__)

// The unsigned test (value - low) > range, made signed by a shift of the
// lanes' top bit, as SSE2 compares signed only.
struct Key32 {
    __m128i low, bias, range, keep;
    Key32(uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
        : low(_mm_set1_epi32(int32_t(keyLow)))
        , bias(_mm_set1_epi32(INT32_MIN))
        , range(_mm_xor_si128(_mm_set1_epi32(int32_t(keyRange)), bias))
        , keep(_mm_set1_epi32(int32_t(keepBits)))
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
    __m128i low, bias, range, keep;
    Key16(uint32_t keyLow, uint32_t keyRange, uint32_t)
        : low(_mm_set1_epi16(int16_t(keyLow)))
        , bias(_mm_set1_epi16(INT16_MIN))
        , range(_mm_xor_si128(_mm_set1_epi16(int16_t(keyRange)), bias))
        , keep(_mm_set1_epi32(-1))
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

// Rows from .. to - 1 of a vector, on every one of which each of its N
// groups has a source row: no test a group, and the groups' lanes and
// source offsets held in registers. The key comes by value, so that it
// stays in registers too: stores through byte pointers could alias it.
template <int N, typename Key>
void CopyInteriorRows(
    const WindowVector& part, int64_t from, int64_t to, int64_t inPitch, int64_t outPitch, const Key key)
{
    __m128i lanes[N];
    int64_t offsets[N];
    __m128i valid = _mm_setzero_si128();
#pragma GCC unroll 8
    for (int g = 0; g < N; ++g) {
        lanes[g] = Key::Lanes(part.lanes[g]);
        offsets[g] = -part.firstRows[g] * inPitch;
        valid = _mm_or_si128(valid, lanes[g]);
    }
    const uint8_t* in = part.in + from * inPitch;
    uint8_t* out = part.out + (from - part.top) * outPitch;
    for (int64_t row = from; row < to; ++row, in += inPitch, out += outPitch) {
        __m128i value = _mm_and_si128(LoadVector(in + offsets[0]), lanes[0]);
#pragma GCC unroll 8
        for (int g = 1; g < N; ++g)
            value = _mm_or_si128(value, _mm_and_si128(LoadVector(in + offsets[g]), lanes[g]));
        StoreWhere(out, _mm_and_si128(key.Draw(value), valid), _mm_and_si128(value, key.keep));
    }
}

// Each target row of a vector gathers its lanes from the source rows their
// groups want, then is keyed and stored once.
template <typename Key> struct ColumnLoops {
    Key key;
    int64_t height, inPitch, outPitch;

    void Edge(const WindowVector& part, int64_t from, int64_t to) const
    {
        const Key local = key;
        __m128i lanes[Key::kLanes];
        for (int g = 0; g < part.groups; ++g)
            lanes[g] = Key::Lanes(part.lanes[g]);
        uint8_t* out = part.out + (from - part.top) * outPitch;
        for (int64_t row = from; row < to; ++row, out += outPitch) {
            __m128i value = _mm_setzero_si128(), valid = _mm_setzero_si128();
            for (int g = 0; g < part.groups; ++g) {
                const int64_t sourceRow = row - part.firstRows[g];
                if (uint64_t(sourceRow) >= uint64_t(height)) continue;
                value = _mm_or_si128(value, _mm_and_si128(LoadVector(part.in + sourceRow * inPitch), lanes[g]));
                valid = _mm_or_si128(valid, lanes[g]);
            }
            StoreWhere(out, _mm_and_si128(local.Draw(value), valid), _mm_and_si128(value, local.keep));
        }
    }

    bool Interior(const WindowVector& part, int64_t from, int64_t to) const
    {
        using Loop = void (*)(const WindowVector&, int64_t, int64_t, int64_t, int64_t, Key);
        static constexpr Loop kLoops[]
            = { nullptr, CopyInteriorRows<1, Key>, CopyInteriorRows<2, Key>, CopyInteriorRows<3, Key> };
        if (part.groups < 1 || part.groups >= int(std::size(kLoops))) return false;
        kLoops[part.groups](part, from, to, inPitch, outPitch, key);
        return true;
    }
};

template <typename Key>
void CopyColumnVectors(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, const Key& key)
{
    const ColumnLoops<Key> loops { key, band.height, band.inPitch, window.outPitch };
    CopyWindowVectors(band, layout, window, Key::kLanes, 16 / Key::kLanes, loops);
}

#endif

// The whole vectors go to the loop of the vector set the layout was made
// for; the columns after them, and every column when the set is not
// allowed now, one by one.
template <typename Pixel>
void CopyKeyedColumns(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    constexpr int bytes = sizeof(Pixel);
    int64_t done = 0;
    if (layout.lanes > 0 && layout.lanes == ColumnLanes(bytes, keyLow, keyRange)) {
        done = std::min(band.width, layout.vectors * layout.lanes);
        if (layout.lanes * bytes == 64) {
            if constexpr (bytes == 4)
                CopyKeyedColumns32Avx512(band, layout, window, keyLow, keyRange);
            else
                CopyKeyedColumns16Avx512(band, layout, window, keyLow, keyRange);
        } else if (layout.lanes * bytes == 32) {
            if constexpr (bytes == 4)
                CopyKeyedColumns32Avx2(band, layout, window, keyLow, keyRange);
            else
                CopyKeyedColumns16Avx2(band, layout, window, keyLow, keyRange);
        } else {
#if defined(__SSE2__)
            if constexpr (bytes == 4)
                CopyColumnVectors(band, layout, window, Key32(keyLow, keyRange, window.keepBits));
            else
                CopyColumnVectors(band, layout, window, Key16(keyLow, keyRange, window.keepBits));
#endif
        }
    }
    CopyColumnsOneByOne<Pixel>(band, window, done, band.width, keyLow, keyRange);
}

} // namespace

int64_t ColumnLanes(int bytesPerPixel, uint32_t keyLow, uint32_t keyRange)
{
    if (bytesPerPixel == 2 && !KeyFits16(keyLow, keyRange)) return 0;
    if (HaveAvx512()) return 64 / bytesPerPixel;
    if (HaveAvx2()) return 32 / bytesPerPixel;
#if defined(__SSE2__)
    return 16 / bytesPerPixel;
#else
    return 0;
#endif
}

int64_t LayOutColumns(const ColumnBand& band, int64_t lanes, LaneGroup* groups, int32_t* vectorGroups)
{
    int32_t used = 0;
    const bool masked = lanes > 0 && HaveAvx512();
    const int64_t vectors = lanes <= 0 ? 0 : masked ? (band.width + lanes - 1) / lanes : band.width / lanes;
    for (int64_t vector = 0; vector < vectors; ++vector) {
        vectorGroups[vector] = used;
        for (int64_t lane = 0; lane < std::min(lanes, band.width - vector * lanes); ++lane) {
            const int64_t firstRow = band.firstRows[vector * lanes + lane];
            int32_t group = vectorGroups[vector];
            while (group < used && groups[group].firstRow != firstRow)
                ++group;
            if (group == used) groups[used++] = { firstRow, 0 };
            groups[group].lanes |= uint32_t(1) << lane;
        }
    }
    vectorGroups[vectors] = used;
    return vectors;
}

WindowVectors VectorsIn(const ColumnLayout& layout, const ColumnWindow& window, int64_t lanes)
{
    return { window.first / lanes, std::min((window.end + lanes - 1) / lanes, layout.vectors) };
}

WindowVector VectorOfWindow(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window,
    int64_t vector, int64_t lanes, int64_t bytesPerPixel)
{
    WindowVector part;
    // The lanes of the window's columns in this vector.
    const int64_t start = vector * lanes;
    const int64_t from = std::max<int64_t>(window.first - start, 0), to = std::min(window.end - start, lanes);
    const uint32_t trim = uint32_t(((uint64_t(1) << to) - 1) & ~((uint64_t(1) << from) - 1));
    int64_t low = INT64_MAX, high = INT64_MIN;
    for (int32_t g = layout.vectorGroups[vector]; g < layout.vectorGroups[vector + 1]; ++g) {
        const LaneGroup& group = layout.groups[g];
        if ((group.lanes & trim) == 0) continue;
        part.lanes[part.groups] = group.lanes & trim;
        part.firstRows[part.groups++] = group.firstRow;
        low = std::min(low, group.firstRow);
        high = std::max(high, group.firstRow);
    }
    part.top = part.groups == 0 ? window.top : std::clamp(low, window.top, window.bottom);
    part.bottom = part.groups == 0 ? part.top : std::clamp(high + band.height, part.top, window.bottom);
    part.in = band.in + start * bytesPerPixel;
    part.out = window.out + (part.top - window.top) * window.outPitch + start * bytesPerPixel;
    return part;
}

RowRange RowsWithEveryGroup(const WindowVector& part, int64_t height)
{
    RowRange rows { part.top, part.bottom };
    for (int g = 0; g < part.groups; ++g) {
        rows.from = std::max(rows.from, part.firstRows[g]);
        rows.to = std::min(rows.to, part.firstRows[g] + height);
    }
    return rows;
}

void CopyKeyedColumns32(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyKeyedColumns<uint32_t>(band, layout, window, keyLow, keyRange);
}

void CopyKeyedColumns16(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyKeyedColumns<uint16_t>(band, layout, window, keyLow, keyRange);
}

} // namespace platform::ddraw::rows
