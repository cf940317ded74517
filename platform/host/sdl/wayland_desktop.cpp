#include "host/sdl/wayland_desktop.h"

#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

#include "host/sdl/lost_display.h"

namespace platform::host {
namespace {

void NoteGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0) *static_cast<bool*>(data) = true;
}
void IgnoreRemoval(void*, wl_registry*, uint32_t) { }
const wl_registry_listener kListener = { NoteGlobal, IgnoreRemoval };

} // namespace

bool WaylandCompositorLacksSeat()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return false; // nobody answers: SDL says so itself
    bool seat = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, &seat);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && !seat;
}

void EndIfWaylandConnectionLost(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return;
    if (!info.info.wl.display || wl_display_get_error(info.info.wl.display) == 0) return;
    // Where wl_display_connect looked, as SDL called it.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    EndForLostDisplay("Wayland", name && *name ? name : "wayland-0");
}

} // namespace platform::host
