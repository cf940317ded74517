// What the SDL host reads from and tells an X desktop that SDL itself does
// not: the desktop's density and the window's fixed size. Both do nothing
// where there is no X server.
#pragma once

#include <SDL.h>

namespace platform::host {

// The whole factor the desktop scales programs by: GDK_SCALE, else the X
// server's Xft.dpi resource; 1 where neither is set.
int ReadDesktopScale();

// Tells the window manager that `window` can be moved, minimised and closed
// but neither resized nor maximised, so it shows no maximise button and no
// sizing border. Call before the window is first shown.
void AskForFixedSizeFrame(SDL_Window* window);

} // namespace platform::host
