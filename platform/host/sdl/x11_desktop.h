// What the SDL host reads from and tells an X desktop that SDL itself does
// not: the desktop's density and the window's fixed size, and how the
// program ends when the X server goes away. The first two do nothing where
// there is no X server.
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

// From now on a broken connection to an X server, SDL's or one of our own,
// ends the program with one line naming the display and status 1, instead
// of Xlib's several lines. Xlib's handler is one for the whole process.
void EndOnLostX11Connection();

} // namespace platform::host
