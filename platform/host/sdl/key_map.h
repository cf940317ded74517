// SDL key codes to the virtual-key codes of Windows.
#pragma once

#include <SDL.h>

#include <windows.h>

namespace platform::host {

// 0 for keys the program has no use for and Windows has no plain code for.
UINT VirtualKeyFor(SDL_Keycode key);

} // namespace platform::host
