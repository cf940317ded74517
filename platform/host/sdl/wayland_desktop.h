// What the SDL host asks a Wayland compositor itself, before SDL's wayland
// driver talks to it.
#pragma once

namespace platform::host {

// True when a compositor answers where SDL would look for one
// (WAYLAND_DISPLAY, else wayland-0) but offers no seat: SDL 2's wayland
// driver takes a seat for granted and crashes without one (weston's
// headless backend has none).
bool WaylandCompositorLacksSeat();

} // namespace platform::host
