// The vector type of the portable loops: one pixel. Every vector set's type
// offers the same small set of operations (kernels.h is written over them);
// here each is the plain operation on a single pixel.
//
// Like every vector type, it lives in an unnamed namespace: each set's file
// compiles the loops with its own target options, and no copy made for one
// set may be merged with another's by the linker.
#pragma once

#include <cstdint>

#include "pixels/pixel_values.h"

#ifndef PIXELS_TARGET
#error "a vector set's file defines PIXELS_TARGET before including its vector type"
#endif

namespace platform::pixels {
namespace {

template <typename PixelType> struct PortableVector {
    using Pixel = PixelType;
    using Vector = uint32_t;
    using Mask = bool;
    using Narrower = void; // nothing is narrower than one pixel
    static constexpr int64_t kLanes = 1;
    static constexpr bool kMaskedStores = false;
    static constexpr bool kMaskedLoads = false;
    static constexpr bool kTestBeforeMaskedStore = true;
    static constexpr bool kGathers = true;
    static constexpr int64_t kStreamAlignment = 1;

    PIXELS_TARGET static Vector Load(const uint8_t* at) { return pixels::Load<Pixel>(at); }
    PIXELS_TARGET static void Store(uint8_t* at, Vector value) { pixels::Store<Pixel>(at, Pixel(value)); }
    // No streaming stores here: an ordinary one.
    PIXELS_TARGET static void StoreStreaming(uint8_t* at, Vector value) { Store(at, value); }
    PIXELS_TARGET static Vector Splat(uint32_t value) { return Pixel(value); }
    PIXELS_TARGET static Vector Zero() { return 0; }
    PIXELS_TARGET static Vector And(Vector a, Vector b) { return a & b; }
    PIXELS_TARGET static Vector Or(Vector a, Vector b) { return a | b; }

    struct Key {
        uint32_t low, range;
        PIXELS_TARGET explicit Key(ColourKey key)
            : low(key.low)
            , range(key.range)
        {
        }
        // Lanes to draw: those the key does not hold.
        PIXELS_TARGET Mask Drawn(Vector value) const { return value - low > range; }
    };

    PIXELS_TARGET static bool Any(Mask mask) { return mask; }
    PIXELS_TARGET static bool All(Mask mask) { return mask; }
    PIXELS_TARGET static Mask Both(Mask a, Mask b) { return a && b; }
    PIXELS_TARGET static Mask Either(Mask a, Mask b) { return a || b; }
    PIXELS_TARGET static Mask NoLanes() { return false; }
    // Lane i where bit i of `bits` is set.
    PIXELS_TARGET static Mask Lanes(uint32_t bits) { return (bits & 1) != 0; }
    PIXELS_TARGET static Vector Select(Mask mask, Vector yes, Vector no) { return mask ? yes : no; }
    // The lanes of `mask` loaded, the others zero: the vector lies inside
    // the memory read.
    PIXELS_TARGET static Vector LoadLanes(Mask mask, const uint8_t* at) { return mask ? Load(at) : 0; }
    // Lane i from in[columns[i]].
    PIXELS_TARGET static Vector Gather(const uint8_t* in, const int32_t* columns)
    {
        return Load(in + int64_t(columns[0]) * int64_t(sizeof(Pixel)));
    }
};

} // namespace
} // namespace platform::pixels
