// Pixel memory with a pitch, and what blits need to read and write it.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/rectangle.h"

namespace platform::pixels {

// 2 or 4 bytes a pixel.
struct Raster {
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bytesPerPixel = 4;

    uint8_t* At(int64_t x, int64_t y) const { return pixels + y * pitch + x * bytesPerPixel; }
    Rectangle Bounds() const { return { 0, 0, width, height }; }
};

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
