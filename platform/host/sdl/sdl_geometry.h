// What the desktop host's parts share of the window's geometry: SDL's
// rectangles and the program's, one in the other.
#pragma once

#include <SDL.h>

#include <algorithm>

#include <windows.h>

namespace platform::host::sdl_geometry {

inline int Width(const Rectangle& r) { return std::max(1, int(r.right - r.left)); }
inline int Height(const Rectangle& r) { return std::max(1, int(r.bottom - r.top)); }

// The program's window geometry on the screen, `scale` screen pixels to
// each of its pixels.
inline Rectangle ScaledRect(const Rectangle& r, int scale)
{
    return Rectangle { r.left * scale, r.top * scale, r.left * scale + Width(r) * scale,
        r.top * scale + Height(r) * scale };
}

inline SDL_Rect Clipped(const SDL_Rect& area, int width, int height)
{
    const SDL_Rect whole { 0, 0, width, height };
    SDL_Rect inside {};
    if (!SDL_IntersectRect(&area, &whole, &inside)) return SDL_Rect {};
    return inside;
}

inline SDL_Rect ToSdlRect(const Rectangle& r)
{
    return SDL_Rect { int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top) };
}

} // namespace platform::host::sdl_geometry
