// What the SDL host asks a Wayland compositor itself, before SDL's wayland
// driver talks to it, and what it asks of SDL's connection when SDL stops.
#pragma once

#include <SDL.h>

namespace platform::host {

// True when a compositor answers where SDL would look for one
// (WAYLAND_DISPLAY, else wayland-0) but offers no seat: SDL 2's wayland
// driver takes a seat for granted and crashes without one (weston's
// headless backend has none).
bool WaylandCompositorLacksSeat();

// SDL turns a broken connection to the compositor into a quit, as it turns
// SIGTERM: where SDL's connection for `window` is broken (the compositor
// ended, or dropped the program), the program ends with one line naming
// the display and status 1. Otherwise returns, and the quit is a close.
void EndIfWaylandConnectionLost(SDL_Window* window);

} // namespace platform::host
