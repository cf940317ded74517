// What blits need besides the memory they work on (common/pixel_view.h):
// the bits a target keeps, colour keys, and pixels at any alignment.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/pixel_view.h"

namespace platform::pixels {

// Bits a 32-bit target keeps of each written value: all of them for
// surface memory, the colour bits for a window's 0x00RRGGBB client pixels.
inline constexpr uint32_t kKeepAllBits = 0xFFFFFFFFu;
inline constexpr uint32_t kKeepColourBits = 0x00FFFFFFu;

// A source colour key: pixels whose raw value lies in low .. low + range
// are left out.
struct ColourKey {
    uint32_t low = 0;
    uint32_t range = 0;

    bool Keys(uint32_t value) const { return value - low <= range; }
    bool operator==(const ColourKey&) const = default;
};

// One pixel at an address of any alignment.
template <typename Pixel> Pixel Load(const uint8_t* address)
{
    Pixel value;
    std::memcpy(&value, address, sizeof(Pixel));
    return value;
}

template <typename Pixel> void Store(uint8_t* address, Pixel value) { std::memcpy(address, &value, sizeof(Pixel)); }

} // namespace platform::pixels
