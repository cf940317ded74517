// The real window's peers, each an SDL2 program presenting a 640 by 480
// window as an SDL2 program does (SDL_GetWindowSurface, then
// SDL_UpdateWindowSurface), as fast as the X server takes it: one that
// draws nothing, the ceiling of any program's frames a second on this
// display, and one that draws the same all-effects frame as the program
// (the SDL2 peer of the frame benchmark) into the window's surface.
#pragma once

#include <string>

namespace bench {

// Frames a second over `seconds`, after a second of warm-up; false when
// there is no display to open a window on.
bool RunBareSdlWindow(double seconds, double& framesPerSecond);
// The same with the all-effects frame drawn into each; false, with
// `error`, when the window or the pictures cannot be had. Run in the
// folder with the pictures.
bool RunSdlFrameWindow(double seconds, double& framesPerSecond, std::string& error);

} // namespace bench
