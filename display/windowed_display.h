#pragma once

#include <windows.h>

// DirectDrawCreate, the cooperative level and the IDirectDraw2 interface,
// shared by both display set-ups; false when there is no IDirectDraw2.
bool CreateDirectDraw2(DWORD cooperativeLevel);

// Builds the windowed display; false when a step failed, leaving in the
// display context what was made before it.
bool InitWindowedDisplay();
