// Device contexts over memory someone else owns (a DirectDraw surface):
// GDI draws straight into it, in the surface's own pixel format.
#pragma once

#include <windows.h>

#include "gdi/drawing_target.h"

namespace platform::gdi {

// NULL when the target is unusable (no memory, empty, pitch too small).
HDC CreateSurfaceDC(const DrawingTarget& target);
// Ends the context; fonts selected into it are free again. Ignores a handle
// that is not a surface context.
void DeleteSurfaceDC(HDC context);

} // namespace platform::gdi
