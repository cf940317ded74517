#include "ddraw/pixel_columns_avx2.h"

#include <climits>
#include <iterator>

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
// source offsets held in registers. The key comes by value, so that it
// stays in registers too: stores through byte pointers could alias it.
template <int N, typename Key>
AVX2 void CopyInteriorRows(
    const WindowVector& part, int64_t from, int64_t to, int64_t inPitch, int64_t outPitch, const Key key)
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

// Each target row of a vector gathers its lanes from the source rows their
// groups want, then is keyed and stored once.
template <typename Key> struct ColumnLoops {
    Key key;
    int64_t height, inPitch, outPitch;

    AVX2 void Edge(const WindowVector& part, int64_t from, int64_t to) const
    {
        const Key local = key;
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
            Key::Put(out, _mm256_and_si256(local.Draw(value), valid), _mm256_and_si256(value, local.keep));
        }
    }

    AVX2 bool Interior(const WindowVector& part, int64_t from, int64_t to) const
    {
        using Loop = void (*)(const WindowVector&, int64_t, int64_t, int64_t, int64_t, Key);
        static constexpr Loop kLoops[] = { nullptr, CopyInteriorRows<1, Key>, CopyInteriorRows<2, Key>,
            CopyInteriorRows<3, Key>, CopyInteriorRows<4, Key> };
        if (part.groups < 1 || part.groups >= int(std::size(kLoops))) return false;
        kLoops[part.groups](part, from, to, inPitch, outPitch, key);
        return true;
    }
};

template <typename Key>
AVX2 void CopyColumnVectors(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, const Key& key)
{
    const ColumnLoops<Key> loops { key, band.height, band.inPitch, window.outPitch };
    CopyWindowVectors(band, layout, window, Key::kLanes, 32 / Key::kLanes, loops);
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
