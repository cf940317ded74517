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

// Rows from .. to - 1 of a vector, on every one of which each of its N
// groups has a source row: no test a group, and the groups' lanes and
// source offsets held in registers.
template <int N, typename Key>
AVX2 void CopyInteriorRows(
    const WindowVector& part, int64_t from, int64_t to, int64_t inPitch, int64_t outPitch, const Key& key)
{
    __m256i lanes[N];
    int64_t offsets[N];
    __m256i valid = _mm256_setzero_si256();
#pragma GCC unroll 8
    for (int g = 0; g < N; ++g) {
        lanes[g] = Key::Lanes(part.lanes[g]);
        offsets[g] = -part.firstRows[g] * inPitch;
        valid = _mm256_or_si256(valid, lanes[g]);
    }
    const uint8_t* in = part.in + from * inPitch;
    uint8_t* out = part.out + (from - part.top) * outPitch;
    for (int64_t row = from; row < to; ++row, in += inPitch, out += outPitch) {
        __m256i value = _mm256_and_si256(Load(in + offsets[0]), lanes[0]);
#pragma GCC unroll 8
        for (int g = 1; g < N; ++g)
            value = _mm256_or_si256(value, _mm256_and_si256(Load(in + offsets[g]), lanes[g]));
        Key::Put(out, _mm256_and_si256(key.Draw(value), valid), _mm256_and_si256(value, key.keep));
    }
}

// Any rows of a vector: each group tested for a source row.
template <typename Key>
AVX2 void CopyEdgeRows(const WindowVector& part, int64_t from, int64_t to, int64_t height, int64_t inPitch,
    int64_t outPitch, const Key& key)
{
    __m256i lanes[Key::kLanes];
    for (int g = 0; g < part.groups; ++g)
        lanes[g] = Key::Lanes(part.lanes[g]);
    uint8_t* out = part.out + (from - part.top) * outPitch;
    for (int64_t row = from; row < to; ++row, out += outPitch) {
        __m256i value = _mm256_setzero_si256(), valid = _mm256_setzero_si256();
        for (int g = 0; g < part.groups; ++g) {
            const int64_t sourceRow = row - part.firstRows[g];
            if (uint64_t(sourceRow) >= uint64_t(height)) continue;
            value = _mm256_or_si256(value, _mm256_and_si256(Load(part.in + sourceRow * inPitch), lanes[g]));
            valid = _mm256_or_si256(valid, lanes[g]);
        }
        Key::Put(out, _mm256_and_si256(key.Draw(value), valid), _mm256_and_si256(value, key.keep));
    }
}

// Each target row of a vector gathers its lanes from the source rows their
// groups want, then is keyed and stored once.
template <typename Key>
AVX2 void CopyColumnVectors(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, const Key& key)
{
    const Key local = key; // in registers: stores through byte pointers could alias the caller's
    const int64_t height = band.height, inPitch = band.inPitch, outPitch = window.outPitch;
    const WindowVectors vectors = VectorsIn(layout, window, Key::kLanes);
    for (int64_t vector = vectors.first; vector < vectors.end; ++vector) {
        const WindowVector part = VectorOfWindow(band, layout, window, vector, Key::kLanes, 32 / Key::kLanes);
        const RowRange every = RowsWithEveryGroup(part, height);
        if (every.from >= every.to) {
            CopyEdgeRows(part, part.top, part.bottom, height, inPitch, outPitch, local);
            continue;
        }
        CopyEdgeRows(part, part.top, every.from, height, inPitch, outPitch, local);
        switch (part.groups) {
        case 1:
            CopyInteriorRows<1>(part, every.from, every.to, inPitch, outPitch, local);
            break;
        case 2:
            CopyInteriorRows<2>(part, every.from, every.to, inPitch, outPitch, local);
            break;
        case 3:
            CopyInteriorRows<3>(part, every.from, every.to, inPitch, outPitch, local);
            break;
        case 4:
            CopyInteriorRows<4>(part, every.from, every.to, inPitch, outPitch, local);
            break;
        default:
            CopyEdgeRows(part, every.from, every.to, height, inPitch, outPitch, local);
            break;
        }
        CopyEdgeRows(part, every.to, part.bottom, height, inPitch, outPitch, local);
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
