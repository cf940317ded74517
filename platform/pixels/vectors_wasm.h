// WebAssembly's 128-bit SIMD vector type: four 32-bit or eight 16-bit
// pixels. Like SSE2 it has no masked stores (partly keyed vectors are
// blended) and no streaming stores, but it compares unsigned lanes as they
// are, so the key test needs no flipped top bits.
#pragma once

#include <cstdint>

#include <wasm_simd128.h>

#include "pixels/vectors_portable.h"

namespace platform::pixels {
namespace {

template <typename PixelType> struct WasmVector {
    using Pixel = PixelType;
    using Vector = v128_t;
    using Mask = v128_t; // each lane all ones or all zeros
    using Narrower = PortableVector<Pixel>;
    static constexpr bool kWide = sizeof(Pixel) == 4;
    static constexpr int64_t kLanes = 16 / int64_t(sizeof(Pixel));
    static constexpr bool kMaskedStores = false;
    static constexpr bool kMaskedLoads = false;
    static constexpr bool kTestBeforeMaskedStore = true;
    static constexpr bool kGathers = kWide;
    static constexpr int64_t kStreamAlignment = 16;

    PIXELS_TARGET static Vector Load(const uint8_t* at) { return wasm_v128_load(at); }
    PIXELS_TARGET static void Store(uint8_t* at, Vector value) { wasm_v128_store(at, value); }
    // Nothing writes past the caches here: an ordinary store.
    PIXELS_TARGET static void StoreStreaming(uint8_t* at, Vector value) { wasm_v128_store(at, value); }
    PIXELS_TARGET static Vector Splat(uint32_t value)
    {
        return kWide ? wasm_i32x4_splat(int32_t(value)) : wasm_i16x8_splat(int16_t(value));
    }
    PIXELS_TARGET static Vector Zero() { return wasm_i32x4_const(0, 0, 0, 0); }
    PIXELS_TARGET static Vector And(Vector a, Vector b) { return wasm_v128_and(a, b); }
    PIXELS_TARGET static Vector Or(Vector a, Vector b) { return wasm_v128_or(a, b); }

    struct Key {
        Vector low, range;
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(Splat(key.low))
            , range(Splat(key.range))
        {
        }
        // (value - low) > range, unsigned.
        PIXELS_TARGET Mask Drawn(Vector value) const
        {
            if constexpr (kWide) return wasm_u32x4_gt(wasm_i32x4_sub(value, low), range);
            return wasm_u16x8_gt(wasm_i16x8_sub(value, low), range);
        }
    };

    PIXELS_TARGET static bool Any(Mask mask) { return wasm_v128_any_true(mask); }
    PIXELS_TARGET static bool All(Mask mask)
    {
        if constexpr (kWide) return wasm_i32x4_all_true(mask);
        return wasm_i16x8_all_true(mask);
    }
    PIXELS_TARGET static Mask Both(Mask a, Mask b) { return wasm_v128_and(a, b); }
    PIXELS_TARGET static Mask Either(Mask a, Mask b) { return wasm_v128_or(a, b); }
    PIXELS_TARGET static Mask NoLanes() { return Zero(); }
    PIXELS_TARGET static Mask Lanes(uint32_t bits)
    {
        if constexpr (kWide) {
            const v128_t each = wasm_i32x4_const(1, 2, 4, 8);
            return wasm_i32x4_eq(wasm_v128_and(wasm_i32x4_splat(int32_t(bits)), each), each);
        }
        const v128_t each = wasm_i16x8_const(1, 2, 4, 8, 16, 32, 64, 128);
        return wasm_i16x8_eq(wasm_v128_and(wasm_i16x8_splat(int16_t(bits)), each), each);
    }
    PIXELS_TARGET static Vector Select(Mask mask, Vector yes, Vector no) { return wasm_v128_bitselect(yes, no, mask); }
    PIXELS_TARGET static Vector LoadLanes(Mask mask, const uint8_t* at) { return wasm_v128_and(Load(at), mask); }
    PIXELS_TARGET static Vector Gather(const uint8_t* in, const int32_t* columns)
    {
        auto at = [&](int lane) { return int32_t(pixels::Load<uint32_t>(in + int64_t(columns[lane]) * 4)); };
        return wasm_i32x4_make(at(0), at(1), at(2), at(3));
    }
};

} // namespace
} // namespace platform::pixels
