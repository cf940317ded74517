#include "host/sdl/wayland_desktop.h"

#include <wayland-client.h>

#include <cstring>

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

} // namespace platform::host
