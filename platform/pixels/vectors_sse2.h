// The SSE2 vector type (part of every x86-64): four 32-bit or eight 16-bit
// pixels. SSE2 has no masked store to speak of (maskmovdqu writes past the
// caches, which a frame being drawn never wants), so partly keyed vectors
// are blended; and it compares signed only, so the unsigned key test is
// made signed by flipping the lanes' top bits.
#pragma once

#include <climits>
#include <cstdint>

#include <emmintrin.h>

#include "pixels/vectors_portable.h"

namespace platform::pixels {
namespace {

template <typename PixelType> struct Sse2Vector {
    using Pixel = PixelType;
    using Vector = __m128i;
    using Mask = __m128i; // each lane all ones or all zeros
    using Narrower = PortableVector<Pixel>;
    static constexpr bool kWide = sizeof(Pixel) == 4;
    static constexpr int64_t kLanes = 16 / int64_t(sizeof(Pixel));
    static constexpr bool kMaskedStores = false;
    static constexpr bool kMaskedLoads = false;
    static constexpr bool kTestBeforeMaskedStore = true;
    static constexpr bool kGathers = kWide;
    static constexpr int64_t kStreamAlignment = 16;

    PIXELS_TARGET static Vector Load(const uint8_t* at)
    {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    PIXELS_TARGET static void Store(uint8_t* at, Vector value)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
    PIXELS_TARGET static void StoreStreaming(uint8_t* at, Vector value)
    {
        _mm_stream_si128(reinterpret_cast<__m128i*>(at), value);
    }
    PIXELS_TARGET static Vector Splat(uint32_t value)
    {
        return kWide ? _mm_set1_epi32(int32_t(value)) : _mm_set1_epi16(int16_t(value));
    }
    PIXELS_TARGET static Vector Zero() { return _mm_setzero_si128(); }
    PIXELS_TARGET static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    PIXELS_TARGET static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }

    struct Key {
        Vector low, bias, range;
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(Splat(key.low))
            , bias(Splat(kWide ? uint32_t(INT32_MIN) : uint32_t(uint16_t(INT16_MIN))))
            , range(_mm_xor_si128(Splat(key.range), bias))
        {
        }
        // (value - low) > range, unsigned.
        PIXELS_TARGET Mask Drawn(Vector value) const
        {
            if constexpr (kWide) return _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(value, low), bias), range);
            return _mm_cmpgt_epi16(_mm_xor_si128(_mm_sub_epi16(value, low), bias), range);
        }
    };

    PIXELS_TARGET static bool Any(Mask mask) { return _mm_movemask_epi8(mask) != 0; }
    PIXELS_TARGET static bool All(Mask mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    PIXELS_TARGET static Mask Both(Mask a, Mask b) { return _mm_and_si128(a, b); }
    PIXELS_TARGET static Mask Either(Mask a, Mask b) { return _mm_or_si128(a, b); }
    PIXELS_TARGET static Mask NoLanes() { return _mm_setzero_si128(); }
    PIXELS_TARGET static Mask Lanes(uint32_t bits)
    {
        if constexpr (kWide) {
            const __m128i each = _mm_setr_epi32(1, 2, 4, 8);
            return _mm_cmpeq_epi32(_mm_and_si128(_mm_set1_epi32(int32_t(bits)), each), each);
        }
        const __m128i each = _mm_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm_cmpeq_epi16(_mm_and_si128(_mm_set1_epi16(int16_t(bits)), each), each);
    }
    PIXELS_TARGET static Vector Select(Mask mask, Vector yes, Vector no)
    {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    }
    PIXELS_TARGET static Vector LoadLanes(Mask mask, const uint8_t* at) { return _mm_and_si128(Load(at), mask); }
    PIXELS_TARGET static Vector Gather(const uint8_t* in, const int32_t* columns)
    {
        auto at = [&](int lane) { return int32_t(pixels::Load<uint32_t>(in + int64_t(columns[lane]) * 4)); };
        return _mm_setr_epi32(at(0), at(1), at(2), at(3));
    }
};

} // namespace
} // namespace platform::pixels
