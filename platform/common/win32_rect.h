// RECT, the Win32 rectangle, is met only where the program calls in (the
// user32, gdi32 and DirectDraw entry points); inside, everything works on
// Rectangle. These are the one pair of conversions between them.
#pragma once

#include <windows.h>

#include "common/rectangle.h"

namespace platform {

inline Rectangle ToRectangle(const RECT& rect) { return { rect.left, rect.top, rect.right, rect.bottom }; }

// Edges are cut to LONG; only rectangles that came from RECTs, or lie on
// screens and surfaces, are handed back.
inline RECT ToRECT(const Rectangle& r) { return RECT { LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom) }; }

} // namespace platform
