// One frame of the scene, painted over the cleared back buffer.
#pragma once

#include <windows.h>

// The six pictures, requested once at the first frame.
void LoadSceneImages();
// Loads the pictures on first use, then draws every enabled effect in a
// fixed painter's order: tiles, background, wipe, zoom, caption, sprite.
void DrawScene(HWND window);
