// The AVX-512 vector type (F and BW): sixteen 32-bit or thirty-two 16-bit
// pixels. Mask registers pick the lanes to load and store, in either pixel
// size, and the unsigned key test goes straight into one.
#pragma once

#include <cstdint>
#include <type_traits>

#include <immintrin.h>

#include "pixels/vectors_avx2.h"

namespace platform::pixels {
namespace {

template <typename PixelType> struct Avx512Vector {
    using Pixel = PixelType;
    using Vector = __m512i;
    static constexpr bool kWide = sizeof(Pixel) == 4;
    using Mask = std::conditional_t<kWide, __mmask16, __mmask32>;
    using Narrower = Avx2Vector<Pixel>;
    static constexpr int64_t kLanes = 64 / int64_t(sizeof(Pixel));
    static constexpr bool kMaskedStores = true;
    static constexpr bool kMaskedLoads = true;
    // A store under a mask of none or all costs no more than the test.
    static constexpr bool kTestBeforeMaskedStore = false;
    static constexpr bool kGathers = true;
    static constexpr int64_t kStreamAlignment = 64;
    static constexpr Mask kAll = Mask(~Mask(0));

    PIXELS_TARGET static Vector Load(const uint8_t* at) { return _mm512_loadu_si512(at); }
    PIXELS_TARGET static void Store(uint8_t* at, Vector value) { _mm512_storeu_si512(at, value); }
    PIXELS_TARGET static void StoreStreaming(uint8_t* at, Vector value)
    {
        _mm512_stream_si512(reinterpret_cast<__m512i*>(at), value);
    }
    PIXELS_TARGET static Vector Splat(uint32_t value)
    {
        return kWide ? _mm512_set1_epi32(int32_t(value)) : _mm512_set1_epi16(int16_t(value));
    }
    PIXELS_TARGET static Vector Zero() { return _mm512_setzero_si512(); }
    PIXELS_TARGET static Vector And(Vector a, Vector b) { return _mm512_and_si512(a, b); }
    PIXELS_TARGET static Vector Or(Vector a, Vector b) { return _mm512_or_si512(a, b); }

    struct Key {
        Vector low, range;
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(Splat(key.low))
            , range(Splat(key.range))
        {
        }
        PIXELS_TARGET Mask Drawn(Vector value) const
        {
            if constexpr (kWide) return _mm512_cmpgt_epu32_mask(_mm512_sub_epi32(value, low), range);
            return _mm512_cmpgt_epu16_mask(_mm512_sub_epi16(value, low), range);
        }
    };

    PIXELS_TARGET static bool Any(Mask mask) { return mask != 0; }
    PIXELS_TARGET static bool All(Mask mask) { return mask == kAll; }
    PIXELS_TARGET static Mask Both(Mask a, Mask b) { return Mask(a & b); }
    PIXELS_TARGET static Mask Either(Mask a, Mask b) { return Mask(a | b); }
    PIXELS_TARGET static Mask NoLanes() { return 0; }
    PIXELS_TARGET static Mask Lanes(uint32_t bits) { return Mask(bits); }
    PIXELS_TARGET static Mask FirstLanes(int64_t count)
    {
        return count >= kLanes ? kAll : Mask((uint64_t(1) << count) - 1);
    }
    PIXELS_TARGET static Vector Select(Mask mask, Vector yes, Vector no)
    {
        if constexpr (kWide) return _mm512_mask_blend_epi32(mask, no, yes);
        return _mm512_mask_blend_epi16(mask, no, yes);
    }
    PIXELS_TARGET static Vector LoadMasked(Mask mask, const uint8_t* at)
    {
        if constexpr (kWide) return _mm512_maskz_loadu_epi32(mask, at);
        return _mm512_maskz_loadu_epi16(mask, at);
    }
    // Masked loads take only the lanes' memory, inside a vector or not.
    PIXELS_TARGET static Vector LoadLanes(Mask mask, const uint8_t* at) { return LoadMasked(mask, at); }
    PIXELS_TARGET static void StoreMasked(uint8_t* at, Mask mask, Vector value)
    {
        if constexpr (kWide)
            _mm512_mask_storeu_epi32(at, mask, value);
        else
            _mm512_mask_storeu_epi16(at, mask, value);
    }
    // A vector's pixels from at most a vector's neighbours, as in any
    // magnification, are one load and one permutation; others are gathered
    // (16-bit ones a pixel at a time: a 32-bit gather could read past the
    // row).
    PIXELS_TARGET static Vector Gather(const uint8_t* in, const int32_t* columns)
    {
        const int32_t first = columns[0], span = columns[kLanes - 1] - first;
        if constexpr (kWide) {
            const __m512i index = _mm512_loadu_si512(columns);
            if (span < 16) {
                const __m512i near = LoadMasked(FirstLanes(span + 1), in + int64_t(first) * 4);
                return _mm512_maskz_permutexvar_epi32(kAll, _mm512_sub_epi32(index, _mm512_set1_epi32(first)), near);
            }
            // The masked forms: the plain ones start from an undefined vector.
            return _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), kAll, index, in, 4);
        } else {
            if (span >= 32) {
                alignas(64) uint16_t picked[32];
                for (int lane = 0; lane < 32; ++lane)
                    picked[lane] = pixels::Load<uint16_t>(in + int64_t(columns[lane]) * 2);
                return _mm512_load_si512(picked);
            }
            const __m512i start = _mm512_set1_epi32(first);
            // The masked forms: the plain ones start from an undefined vector.
            const __m256i low
                = _mm512_maskz_cvtepi32_epi16(0xFFFF, _mm512_sub_epi32(_mm512_loadu_si512(columns), start));
            const __m256i high
                = _mm512_maskz_cvtepi32_epi16(0xFFFF, _mm512_sub_epi32(_mm512_loadu_si512(columns + 16), start));
            const __m512i index = _mm512_maskz_inserti64x4(
                0xFF, _mm512_maskz_inserti64x4(0xFF, _mm512_setzero_si512(), low, 0), high, 1);
            return _mm512_maskz_permutexvar_epi16(
                kAll, index, LoadMasked(FirstLanes(span + 1), in + int64_t(first) * 2));
        }
    }
};

} // namespace
} // namespace platform::pixels
