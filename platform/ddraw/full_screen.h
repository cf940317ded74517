// Where the exclusive full-screen display meets the host. The host side
// (the window on the desktop's own resolution, the 640 by 480 picture
// scaled into it with black bars) is not written yet; until it is, these
// only keep track of the state, and a full-screen primary is drawn into
// its own memory where tests can read it.
#pragma once

#include "ddraw/blitters.h"

namespace platform::ddraw {

// SetDisplayMode succeeded on an exclusive DirectDraw object.
void EnterFullScreen(int width, int height);
// The exclusive object gave the display back (Release, normal level, reset).
void LeaveFullScreen();
// The full-screen primary changed; `screen` is its memory.
void ShowFullScreenFrame(const Raster& screen);

bool IsFullScreen();

} // namespace platform::ddraw
