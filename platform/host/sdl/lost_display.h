// The display server going away (the X server or the Wayland compositor
// ends, or the connection to it breaks) leaves the program nothing to show
// and nobody to take input from: it ends at once, saying so in one line
// that names the display, with status 1, as Xlib's own handler ends with 1.
#pragma once

namespace platform::host {

// `protocol` is "X11" or "Wayland", `display` the display's name (":0",
// "wayland-1"). Writes the line on standard error and ends the process
// without unwinding: nothing that is left may still talk to the display.
[[noreturn]] void EndForLostDisplay(const char* protocol, const char* display);

} // namespace platform::host
