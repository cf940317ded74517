// Where the exclusive full-screen display meets the host: entering and
// leaving it, and the memory its pixels live in, which the host lends. The
// full-screen primary's pixels live there, in the display's 5-6-5, so that a
// frame copied onto the primary is on the screen without another copy.
#pragma once

#include <cstdint>
#include <vector>

#include "ddraw/rectangles.h"
#include "host/host.h"

namespace platform::ddraw {

class Surface;

// SetDisplayMode succeeded on an exclusive DirectDraw object.
void EnterFullScreen(int width, int height);
// The exclusive object gave the display back (Release, normal level, reset).
// A surface still on the display's memory moves to memory of its own.
void LeaveFullScreen();

// The display's memory for `primary`, a full-screen primary of the
// display's size: it lives there until full screen ends or the surface goes.
// Null pixels when there is no such memory.
Raster LendFullScreenMemory(Surface* primary, int width, int height);
// `surface` is going away.
void SurfaceGone(const Surface* surface);
// The full-screen primary, whose memory is `screen`, changed in `area`.
void ShowFullScreenFrame(const Raster& screen, const Span2D& area);

bool IsFullScreen();
// What full screen shows now as 0x00RRGGBB (black before the first frame),
// so that a message box can be drawn over it. False when not full screen.
bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height);
// Shows `picture`, the display's size, in full screen, as a 16-bit display
// shows it: each channel's top bits.
void ShowOverFullScreen(const host::PixelView& picture);

} // namespace platform::ddraw
