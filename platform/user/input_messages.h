// Host input as window messages, in the form Windows posts them.
#pragma once

#include "host/host.h"

#include <windows.h>

namespace platform::user {

struct InputMessage {
    UINT message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// `clientOnScreen` tells client positions from those over the menu bar
// (non-client messages, in screen coordinates).
InputMessage MessageFromInput(const platform::host::InputEvent& event, const Rectangle& clientOnScreen);

} // namespace platform::user
