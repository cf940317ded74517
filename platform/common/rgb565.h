// The full-screen display's 5-6-5 pixels and the 0x00RRGGBB ones screens
// show: one conversion each way, and a row of them widened at once, shared
// by GDI, DirectDraw and the hosts.
#pragma once

#include <cstdint>

namespace platform::rgb565 {

// Each channel widened by repeating its top bits, so that full intensity
// stays full (0xFFFF is white, 0xF81F is 0xFF00FF) and narrowing the result
// gives back the same 5-6-5 value.
constexpr uint32_t ToXrgb(uint16_t pixel)
{
    const uint32_t red = (pixel >> 11) & 0x1F;
    const uint32_t green = (pixel >> 5) & 0x3F;
    const uint32_t blue = pixel & 0x1F;
    return ((red << 3 | red >> 2) << 16) | ((green << 2 | green >> 4) << 8) | (blue << 3 | blue >> 2);
}

// The top bits of each channel, as a 16-bit display keeps them.
constexpr uint16_t FromXrgb(uint32_t rgb)
{
    const uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

// `count` 5-6-5 pixels at `in` (any alignment) widened as ToXrgb does,
// eight at a time: a full-screen frame is widened every time it is shown.
void WidenRow(uint32_t* out, const uint8_t* in, int64_t count);

} // namespace platform::rgb565
