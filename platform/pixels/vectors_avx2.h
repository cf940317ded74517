// The AVX2 vector type: eight 32-bit or sixteen 16-bit pixels. Masked loads
// and stores exist for 32-bit lanes only (vpmaskmovd); some processors run
// the store in microcode, which the store method's trial finds out.
#pragma once

#include <climits>
#include <cstdint>

#include <immintrin.h>

#include "pixels/vectors_sse2.h"

namespace platform::pixels {
namespace {

template <typename PixelType> struct Avx2Vector {
    using Pixel = PixelType;
    using Vector = __m256i;
    using Mask = __m256i; // each lane all ones or all zeros
    using Narrower = Sse2Vector<Pixel>;
    static constexpr bool kWide = sizeof(Pixel) == 4;
    static constexpr int64_t kLanes = 32 / int64_t(sizeof(Pixel));
    static constexpr bool kMaskedStores = kWide;
    static constexpr bool kMaskedLoads = kWide;
    // A masked store costs more than a test: whole vectors drawn or
    // skipped, the usual case, take none.
    static constexpr bool kTestBeforeMaskedStore = true;
    static constexpr bool kGathers = kWide;
    static constexpr int64_t kStreamAlignment = 32;

    PIXELS_TARGET static Vector Load(const uint8_t* at)
    {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    PIXELS_TARGET static void Store(uint8_t* at, Vector value)
    {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
    }
    PIXELS_TARGET static void StoreStreaming(uint8_t* at, Vector value)
    {
        _mm256_stream_si256(reinterpret_cast<__m256i*>(at), value);
    }
    PIXELS_TARGET static Vector Splat(uint32_t value)
    {
        return kWide ? _mm256_set1_epi32(int32_t(value)) : _mm256_set1_epi16(int16_t(value));
    }
    PIXELS_TARGET static Vector Zero() { return _mm256_setzero_si256(); }
    PIXELS_TARGET static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    PIXELS_TARGET static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }

    struct Key {
        Vector low, bias, range;
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(Splat(key.low))
            , bias(Splat(kWide ? uint32_t(INT32_MIN) : uint32_t(uint16_t(INT16_MIN))))
            , range(_mm256_xor_si256(Splat(key.range), bias))
        {
        }
        // (value - low) > range, unsigned, made signed by flipping top bits.
        PIXELS_TARGET Mask Drawn(Vector value) const
        {
            if constexpr (kWide) return _mm256_cmpgt_epi32(_mm256_xor_si256(_mm256_sub_epi32(value, low), bias), range);
            return _mm256_cmpgt_epi16(_mm256_xor_si256(_mm256_sub_epi16(value, low), bias), range);
        }
    };

    PIXELS_TARGET static bool Any(Mask mask) { return _mm256_movemask_epi8(mask) != 0; }
    PIXELS_TARGET static bool All(Mask mask) { return _mm256_movemask_epi8(mask) == -1; }
    PIXELS_TARGET static Mask Both(Mask a, Mask b) { return _mm256_and_si256(a, b); }
    PIXELS_TARGET static Mask Either(Mask a, Mask b) { return _mm256_or_si256(a, b); }
    PIXELS_TARGET static Mask NoLanes() { return _mm256_setzero_si256(); }
    PIXELS_TARGET static Mask Lanes(uint32_t bits)
    {
        if constexpr (kWide) {
            const __m256i each = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
            return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(int32_t(bits)), each), each);
        }
        const __m256i each
            = _mm256_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384, int16_t(32768));
        return _mm256_cmpeq_epi16(_mm256_and_si256(_mm256_set1_epi16(int16_t(bits)), each), each);
    }
    // Lanes 0 .. count - 1.
    PIXELS_TARGET static Mask FirstLanes(int64_t count)
    {
        static_assert(kWide);
        return _mm256_cmpgt_epi32(_mm256_set1_epi32(int32_t(count)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    PIXELS_TARGET static Vector Select(Mask mask, Vector yes, Vector no) { return _mm256_blendv_epi8(no, yes, mask); }
    PIXELS_TARGET static Vector LoadLanes(Mask mask, const uint8_t* at) { return _mm256_and_si256(Load(at), mask); }
    // Touching only the lanes of `mask`.
    PIXELS_TARGET static Vector LoadMasked(Mask mask, const uint8_t* at)
    {
        static_assert(kWide);
        return _mm256_maskload_epi32(reinterpret_cast<const int*>(at), mask);
    }
    PIXELS_TARGET static void StoreMasked(uint8_t* at, Mask mask, Vector value)
    {
        static_assert(kWide);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(at), mask, value);
    }
    // Eight pixels from at most eight neighbours, as in any magnification,
    // are one load and one permutation; others are gathered.
    PIXELS_TARGET static Vector Gather(const uint8_t* in, const int32_t* columns)
    {
        static_assert(kWide);
        const __m256i index = Load(reinterpret_cast<const uint8_t*>(columns));
        const int32_t first = columns[0], span = columns[7] - first;
        if (span < 8) {
            const __m256i near = LoadMasked(FirstLanes(span + 1), in + int64_t(first) * 4);
            return _mm256_permutevar8x32_epi32(near, _mm256_sub_epi32(index, _mm256_set1_epi32(first)));
        }
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(in), index, 4);
    }
};

} // namespace
} // namespace platform::pixels
