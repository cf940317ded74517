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

InputMessage MessageFromInput(const platform::host::InputEvent& event);

} // namespace platform::user
