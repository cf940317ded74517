// The browser's keys as virtual-key codes: KeyboardEvent.code names the key
// where it lies on the keyboard, whatever the layout, as a virtual key does
// for the keys the program and its menus read. Pure, tested on its own.
#pragma once

#include <windows.h>

namespace platform::host {

// 0 for a key with no virtual key here.
UINT VirtualKeyForCode(const char* code);

} // namespace platform::host
