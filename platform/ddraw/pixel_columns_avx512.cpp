#include "ddraw/pixel_columns_avx512.h"

#include <iterator>

#include "ddraw/pixel_vectors_avx512.h"

namespace platform::ddraw::rows {

#if SAMPLE_HAVE_AVX512_PATH

namespace {

// A pixel is drawn when (value - low) > range, unsigned, straight into a
// mask register. Masked loads take only a group's lanes, and masked stores
// leave the other lanes' memory alone, with no read of the target.
struct Key32 {
    __m512i low, range, keep;
    AVX512 Key32(uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
        : low(_mm512_set1_epi32(int32_t(keyLow)))
        , range(_mm512_set1_epi32(int32_t(keyRange)))
        , keep(_mm512_set1_epi32(int32_t(keepBits)))
    {
    }
    using Mask = __mmask16;
    static constexpr int64_t kLanes = 16;
    AVX512 static __m512i LoadLanes(Mask lanes, const uint8_t* in) { return _mm512_maskz_loadu_epi32(lanes, in); }
    AVX512 void Put(uint8_t* out, Mask valid, __m512i value) const
    {
        _mm512_mask_storeu_epi32(out, _mm512_mask_cmpgt_epu32_mask(valid, _mm512_sub_epi32(value, low), range),
            _mm512_and_si512(value, keep));
    }
};

struct Key16 {
    __m512i low, range;
    AVX512 Key16(uint32_t keyLow, uint32_t keyRange, uint32_t)
        : low(_mm512_set1_epi16(int16_t(keyLow)))
        , range(_mm512_set1_epi16(int16_t(keyRange)))
    {
    }
    using Mask = __mmask32;
    static constexpr int64_t kLanes = 32;
    AVX512 static __m512i LoadLanes(Mask lanes, const uint8_t* in) { return _mm512_maskz_loadu_epi16(lanes, in); }
    AVX512 void Put(uint8_t* out, Mask valid, __m512i value) const
    {
        _mm512_mask_storeu_epi16(out, _mm512_mask_cmpgt_epu16_mask(valid, _mm512_sub_epi16(value, low), range), value);
    }
};

// Rows from .. to - 1 of a vector, on every one of which each of its N
// groups has a source row: no test a group, and the groups' lanes and
// source offsets held in registers. The key comes by value, so that it
// stays in registers too: stores through byte pointers could alias it.
template <int N, typename Key>
AVX512 void CopyInteriorRows(
    const WindowVector& part, int64_t from, int64_t to, int64_t inPitch, int64_t outPitch, const Key key)
{
    using Mask = typename Key::Mask;
    Mask lanes[N];
    int64_t offsets[N];
    Mask valid = 0;
#pragma GCC unroll 8
    for (int g = 0; g < N; ++g) {
        lanes[g] = Mask(part.lanes[g]);
        offsets[g] = -part.firstRows[g] * inPitch;
        valid = Mask(valid | lanes[g]);
    }
    const uint8_t* in = part.in + from * inPitch;
    uint8_t* out = part.out + (from - part.top) * outPitch;
    for (int64_t row = from; row < to; ++row, in += inPitch, out += outPitch) {
        __m512i value = Key::LoadLanes(lanes[0], in + offsets[0]);
#pragma GCC unroll 8
        for (int g = 1; g < N; ++g)
            value = _mm512_or_si512(value, Key::LoadLanes(lanes[g], in + offsets[g]));
        key.Put(out, valid, value);
    }
}

// Each target row of a vector gathers its lanes from the source rows their
// groups want, then is keyed and stored once.
template <typename Key> struct ColumnLoops {
    Key key;
    int64_t height, inPitch, outPitch;

    AVX512 void Edge(const WindowVector& part, int64_t from, int64_t to) const
    {
        using Mask = typename Key::Mask;
        const Key local = key;
        uint8_t* out = part.out + (from - part.top) * outPitch;
        for (int64_t row = from; row < to; ++row, out += outPitch) {
            // Zero-masked loads of the groups are independent of each other;
            // merging each into the last would chain their latencies.
            __m512i value = _mm512_setzero_si512();
            Mask valid = 0;
            for (int g = 0; g < part.groups; ++g) {
                const int64_t sourceRow = row - part.firstRows[g];
                if (uint64_t(sourceRow) >= uint64_t(height)) continue;
                value = _mm512_or_si512(value, Key::LoadLanes(Mask(part.lanes[g]), part.in + sourceRow * inPitch));
                valid = Mask(valid | part.lanes[g]);
            }
            local.Put(out, valid, value);
        }
    }

    AVX512 bool Interior(const WindowVector& part, int64_t from, int64_t to) const
    {
        using Loop = void (*)(const WindowVector&, int64_t, int64_t, int64_t, int64_t, Key);
        static constexpr Loop kLoops[] = { nullptr, CopyInteriorRows<1, Key>, CopyInteriorRows<2, Key>,
            CopyInteriorRows<3, Key>, CopyInteriorRows<4, Key>, CopyInteriorRows<5, Key>, CopyInteriorRows<6, Key> };
        if (part.groups < 1 || part.groups >= int(std::size(kLoops))) return false;
        kLoops[part.groups](part, from, to, inPitch, outPitch, key);
        return true;
    }
};

template <typename Key>
AVX512 void CopyColumnVectors(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, const Key& key)
{
    const ColumnLoops<Key> loops { key, band.height, band.inPitch, window.outPitch };
    CopyWindowVectors(band, layout, window, Key::kLanes, 64 / Key::kLanes, loops);
}

} // namespace

AVX512 void CopyKeyedColumns32Avx512(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyColumnVectors(band, layout, window, Key32(keyLow, keyRange, window.keepBits));
}

AVX512 void CopyKeyedColumns16Avx512(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, uint32_t keyLow, uint32_t keyRange)
{
    CopyColumnVectors(band, layout, window, Key16(keyLow, keyRange, window.keepBits));
}

#else

void CopyKeyedColumns32Avx512(const ColumnBand&, const ColumnLayout&, const ColumnWindow&, uint32_t, uint32_t) { }
void CopyKeyedColumns16Avx512(const ColumnBand&, const ColumnLayout&, const ColumnWindow&, uint32_t, uint32_t) { }

#endif

} // namespace platform::ddraw::rows
