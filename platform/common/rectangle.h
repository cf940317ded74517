// The one rectangle inside platform/: right and bottom excluded. Edges are
// 64-bit, so that no rectangle a program passes (LONG edges, then offsets
// and scales) can overflow on the way. RECT is met only at the Win32 edge
// (common/win32_rect.h converts).
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

struct Rectangle {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int64_t x, int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rectangle&) const = default;
};

inline Rectangle Offset(const Rectangle& r, int64_t x, int64_t y)
{
    return { r.left + x, r.top + y, r.right + x, r.bottom + y };
}

inline bool IsOrdered(const Rectangle& r) { return r.right >= r.left && r.bottom >= r.top; }

// Inside `bounds`, edges included; empty rectangles on the border count.
inline bool LiesInside(const Rectangle& r, const Rectangle& bounds)
{
    return IsOrdered(r) && r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right
        && r.bottom <= bounds.bottom;
}

// Empty results are all the same empty rectangle.
inline Rectangle Intersect(const Rectangle& a, const Rectangle& b)
{
    const Rectangle r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom) };
    if (r.IsEmpty()) return {};
    return r;
}

inline bool Overlap(const Rectangle& a, const Rectangle& b) { return !Intersect(a, b).IsEmpty(); }

// The smallest rectangle holding both; an empty one adds nothing.
inline Rectangle UnionOf(const Rectangle& a, const Rectangle& b)
{
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

// Whether `outer` holds every pixel of `inner`; an empty `inner` is held by any.
inline bool Covers(const Rectangle& outer, const Rectangle& inner)
{
    return inner.IsEmpty()
        || (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
            && inner.bottom <= outer.bottom);
}

// `r` clipped to a width by height area at the origin.
inline Rectangle ClippedTo(const Rectangle& r, int64_t width, int64_t height)
{
    return Intersect(r, Rectangle { 0, 0, width, height });
}

} // namespace platform
