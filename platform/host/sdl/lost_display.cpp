#include "host/sdl/lost_display.h"

#include <cstdio>
#include <cstdlib>

namespace platform::host {

void EndForLostDisplay(const char* protocol, const char* display)
{
    std::fprintf(stderr, "platform: the display server went away (%s %s)\n", protocol,
        display && *display ? display : "unnamed");
    // Destructors and exit handlers would reach for the connection that is
    // gone: Xlib asks that an I/O error handler never return to it.
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace platform::host
