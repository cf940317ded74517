// WebAssembly's 128-bit SIMD vector type: four 32-bit or eight 16-bit
// pixels. Like SSE2 it has no masked stores (partly keyed vectors are
// blended) and no streaming stores. Its unsigned compares become three or
// four x86 instructions (max, equal, not), its signed ones one: the key test
// compares signed, with the top bits flipped as SSE2's does.
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
    // Eight 16-bit lanes are gathered too: one vector built and stored beats
    // eight scalar stores here, where SSE2 gains nothing by it.
    static constexpr bool kGathers = true;
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
        // (value - low) > range unsigned is (value - (low ^ top)) > (range ^
        // top) signed: subtracting the flipped low flips the difference's top bit.
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(Splat(key.low ^ kTopBit))
            , range(Splat(key.range ^ kTopBit))
        {
        }
        PIXELS_TARGET Mask Drawn(Vector value) const
        {
            if constexpr (kWide) return wasm_i32x4_gt(wasm_i32x4_sub(value, low), range);
            return wasm_i16x8_gt(wasm_i16x8_sub(value, low), range);
        }

    private:
        static constexpr uint32_t kTopBit = kWide ? 0x80000000u : 0x8000u;
    };

    // Every lane is all ones or all zeros: one byte mask (pmovmskb) tells
    // both, where all_true takes three instructions; asked of the same mask,
    // Any and All share it.
    PIXELS_TARGET static bool Any(Mask mask) { return wasm_i8x16_bitmask(mask) != 0; }
    PIXELS_TARGET static bool All(Mask mask) { return wasm_i8x16_bitmask(mask) == 0xFFFF; }
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
        if constexpr (kWide) {
            auto at = [&](int lane) { return int32_t(pixels::Load<uint32_t>(in + int64_t(columns[lane]) * 4)); };
            return wasm_i32x4_make(at(0), at(1), at(2), at(3));
        } else {
            auto at = [&](int lane) { return int16_t(pixels::Load<uint16_t>(in + int64_t(columns[lane]) * 2)); };
            return wasm_i16x8_make(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
        }
    }
};

} // namespace
} // namespace platform::pixels
