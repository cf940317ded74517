// The one description of pixel memory inside platform/: rows of `width`
// pixels of `bytesPerPixel` bytes (2 or 4), top to bottom `pitch` bytes
// apart. The memory stays its owner's. Read-only views are the same
// template over const bytes; a writable view converts to one.
#pragma once

#include <cstdint>
#include <type_traits>

#include "common/rectangle.h"

namespace platform {

template <typename Byte> struct BasicPixelView {
    static_assert(sizeof(Byte) == 1);

    Byte* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bytesPerPixel = 4;

    BasicPixelView() = default;
    BasicPixelView(Byte* pixels, int width, int height, int pitch, int bytesPerPixel = 4)
        : pixels(pixels)
        , width(width)
        , height(height)
        , pitch(pitch)
        , bytesPerPixel(bytesPerPixel)
    {
    }
    template <typename Other>
    requires(!std::is_same_v<Other, Byte> && std::is_convertible_v<Other*, Byte*>)
        BasicPixelView(const BasicPixelView<Other>& other)
        : BasicPixelView(other.pixels, other.width, other.height, other.pitch, other.bytesPerPixel)
    {
    }

    // Whole pixels of type `Pixel`, rows `pitchPixels` of them apart.
    template <typename Pixel> static BasicPixelView OfPixels(Pixel* first, int width, int height, int pitchPixels)
    {
        static_assert(sizeof(Pixel) == 2 || sizeof(Pixel) == 4);
        return { reinterpret_cast<Byte*>(first), width, height, pitchPixels * int(sizeof(Pixel)), int(sizeof(Pixel)) };
    }

    // Row `y` as bytes, or as pixels of a type the caller knows they are
    // (uint32_t for 0x00RRGGBB, uint16_t for 5-6-5), const as the view is.
    template <typename Pixel = Byte> auto* Row(int64_t y) const
    {
        using Shown = std::conditional_t<std::is_const_v<Byte>, const Pixel, Pixel>;
        return reinterpret_cast<Shown*>(pixels + y * pitch);
    }
    Byte* At(int64_t x, int64_t y) const { return pixels + y * pitch + x * bytesPerPixel; }
    Rectangle Bounds() const { return { 0, 0, width, height }; }
    // Whether each row has room for `width` pixels.
    bool RowsFit() const { return pitch >= width * bytesPerPixel; }
    // The pixels of `area`, which lies inside, as a view of their own.
    BasicPixelView Part(const Rectangle& area) const
    {
        return { At(area.left, area.top), int(area.Width()), int(area.Height()), pitch, bytesPerPixel };
    }
};

using PixelView = BasicPixelView<uint8_t>;
using ReadOnlyPixelView = BasicPixelView<const uint8_t>;

} // namespace platform
