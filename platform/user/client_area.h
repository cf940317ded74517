// What the primary surface needs from the window manager: where the client
// area of the top-level window lies on the screen, and its pixels.
#pragma once

#include <cstdint>

#include <windows.h>

namespace platform::user {

struct ClientArea {
    RECT screenRect {}; // client area in screen coordinates
    uint32_t* pixels = nullptr; // 0x00RRGGBB, screenRect's size, top row first
    int pitchPixels = 0;
};

// The client area of `window`, or of the top-level window when `window` is
// null. False when there is no such window or its client area is empty.
bool GetClientArea(HWND window, ClientArea& area);

// Shows the client pixels on the host after the primary surface changed them.
void PresentClientArea(HWND window);

} // namespace platform::user
