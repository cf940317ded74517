// Rectangle checks shared by the blits and Lock. Arithmetic is 64-bit so
// that no rectangle the program passes can overflow on the way.
#pragma once

#include <algorithm>
#include <cstdint>

#include <windows.h>

#include "pixels/raster.h"

namespace platform::ddraw {

using pixels::Raster;
using pixels::Span2D;

inline Span2D FromRect(const RECT& rect) { return { rect.left, rect.top, rect.right, rect.bottom }; }

// Only for rectangles that lie on a surface, whose edges fit a LONG.
inline RECT ToRect(const Span2D& r) { return RECT { LONG(r.left), LONG(r.top), LONG(r.right), LONG(r.bottom) }; }

inline Span2D Offset(const Span2D& r, int64_t x, int64_t y)
{
    return { r.left + x, r.top + y, r.right + x, r.bottom + y };
}

inline bool IsOrdered(const Span2D& r) { return r.right >= r.left && r.bottom >= r.top; }

// Inside `bounds`, edges included; empty rectangles on the border count.
inline bool LiesInside(const Span2D& r, const Span2D& bounds)
{
    return IsOrdered(r) && r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right
        && r.bottom <= bounds.bottom;
}

inline Span2D Intersect(const Span2D& a, const Span2D& b)
{
    Span2D r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom) };
    if (r.IsEmpty()) return {};
    return r;
}

inline bool Overlap(const Span2D& a, const Span2D& b) { return !Intersect(a, b).IsEmpty(); }

} // namespace platform::ddraw
