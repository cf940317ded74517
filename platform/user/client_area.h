// What the primary surface and the modal loops need from the window manager:
// where the client area of the top-level window lies on the screen, and the
// memory its pixels live in, which the host lends.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

#include "host/host.h"

namespace platform::user {

struct ClientArea {
    Rectangle screenRect {}; // client area in screen coordinates
};

// The client area of `window`, or of the top-level window when `window` is
// null. False when there is no such window or its client area is empty.
bool GetClientArea(HWND window, ClientArea& area);

// Memory holding what the client area shows, for a write now: it may lag
// behind in `overwritten` (client coordinates), which the caller writes
// whole. Good until ClientPixelsChanged; false when there is none.
bool LendClientPixels(const Rectangle& overwritten, platform::PixelView& pixels);
// The caller wrote `changed` (client coordinates) of the lent memory.
void ClientPixelsChanged(const Rectangle& changed);

// What the client area shows, row after row, for drawing a menu or a box
// over it; empty when there is no client area.
std::vector<uint32_t> ClientPicture();
// Shows `picture`, the client area's size, in the client area.
void ShowClientPicture(const platform::ReadOnlyPixelView& picture);
// A resized client area starts black.
void ClearClientArea();

} // namespace platform::user
