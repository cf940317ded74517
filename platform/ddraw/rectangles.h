// The Win32 edge of the blits and Lock: RECTs as the program passes them,
// turned into the 64-bit rectangles below, so that none can overflow.
#pragma once

#include <windows.h>

#include "pixels/raster.h"

namespace platform::ddraw {

using pixels::Raster;
using pixels::Span2D;

inline Span2D FromRect(const RECT& rect) { return { rect.left, rect.top, rect.right, rect.bottom }; }

// Only for rectangles that lie on a surface, whose edges fit a LONG.
inline RECT ToRect(const Span2D& r) { return RECT { LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom) }; }

using pixels::Intersect;
using pixels::IsOrdered;
using pixels::LiesInside;
using pixels::Offset;
using pixels::Overlap;

} // namespace platform::ddraw
