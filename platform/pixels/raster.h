// Pixel memory with a pitch, and the rectangles blits work on. Coordinates
// are 64-bit, so that no rectangle a program passes can overflow on the way.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform::pixels {

// A rectangle; right and bottom excluded.
struct Span2D {
    int64_t left = 0, top = 0, right = 0, bottom = 0;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

inline Span2D Offset(const Span2D& r, int64_t x, int64_t y)
{
    return { r.left + x, r.top + y, r.right + x, r.bottom + y };
}

inline bool IsOrdered(const Span2D& r) { return r.right >= r.left && r.bottom >= r.top; }

// Inside `bounds`, edges included; empty rectangles on the border count.
inline bool LiesInside(const Span2D& r, const Span2D& bounds)
{
    return IsOrdered(r) && r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right
        && r.bottom <= bounds.bottom;
}

inline Span2D Intersect(const Span2D& a, const Span2D& b)
{
    Span2D r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom) };
    if (r.IsEmpty()) return {};
    return r;
}

inline bool Overlap(const Span2D& a, const Span2D& b) { return !Intersect(a, b).IsEmpty(); }

// 2 or 4 bytes a pixel.
struct Raster {
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bytesPerPixel = 4;

    uint8_t* At(int64_t x, int64_t y) const { return pixels + y * pitch + x * bytesPerPixel; }
    Span2D Bounds() const { return { 0, 0, width, height }; }
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
