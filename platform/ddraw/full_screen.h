// Where the exclusive full-screen display meets the host: entering and
// leaving it, and showing the full-screen primary's pixels, converted from
// the display's 5-6-5 to the 0x00RRGGBB pictures a host shows.
#pragma once

#include <cstdint>
#include <vector>

#include "ddraw/blitters.h"

namespace platform::ddraw {

// SetDisplayMode succeeded on an exclusive DirectDraw object.
void EnterFullScreen(int width, int height);
// The exclusive object gave the display back (Release, normal level, reset).
void LeaveFullScreen();
// The full-screen primary changed; `screen` is its memory.
void ShowFullScreenFrame(const Raster& screen);
// For a host that shows full screen on demand: brings its canvas up to date
// with the primary's memory.
void SettleFullScreenFrame();
// Surface memory is about to be freed: a picture still to be fetched from
// it is fetched now.
void ForgetFullScreenMemory(const uint8_t* memory);

bool IsFullScreen();
// What full screen shows now as 0x00RRGGBB (black before the first frame),
// so that a message box can be drawn over it. False when not full screen.
bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height);

// Each channel widened by repeating its top bits, so that full intensity
// stays full: 0xFFFF is white, 0xF81F is 0xFF00FF.
constexpr uint32_t Rgb565ToXrgb(uint16_t pixel)
{
    const uint32_t red = (pixel >> 11) & 0x1F;
    const uint32_t green = (pixel >> 5) & 0x3F;
    const uint32_t blue = pixel & 0x1F;
    return ((red << 3 | red >> 2) << 16) | ((green << 2 | green >> 4) << 8) | (blue << 3 | blue >> 2);
}

} // namespace platform::ddraw
