// The exclusive full-screen display of 640 by 480 at 16 bits per pixel, and
// the switches between it and the windowed display.
#pragma once

// Builds the full-screen display; false when a step failed, leaving in the
// display context what was made before it.
bool InitFullScreenDisplay();
// Release the current display and build the asked-for one from nothing.
// On failure the window is asked to close. The caller reloads the pictures.
bool SwitchToFullScreen();
bool SwitchToWindowed();
