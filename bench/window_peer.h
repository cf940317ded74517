// The real window's peer: a bare SDL2 program that does nothing but present
// a 640 by 480 window surface, as fast as the X server takes it. What the
// program's window is measured against.
#pragma once

namespace bench {

// Frames a second over `seconds`, after a second of warm-up; false when
// there is no display to open a window on.
bool RunBareSdlWindow(double seconds, double& framesPerSecond);

} // namespace bench
