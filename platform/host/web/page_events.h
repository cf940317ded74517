// The browser's events that reach the program: keys anywhere in the page,
// the mouse over the canvas, one finger as the mouse, full screen given or
// taken back, the page resized.
#pragma once

#include "host/web/web_host.h"

namespace platform::host {

// From now on, for as long as the page lives.
void ListenToPage(WebHost& host);

} // namespace platform::host
