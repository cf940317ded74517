#pragma once

#include <windows.h>

// Fills the back buffer with the raw pixel value 0.
HRESULT ClearBackBuffer();
// Copies the back buffer to the screen, repairing lost surfaces.
void PresentFrame();
// The client area of `window` in screen coordinates.
void GetClientScreenRect(HWND window, RECT* rectangle);
