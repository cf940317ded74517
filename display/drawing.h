// The three ways every effect draws on the back buffer.
#pragma once

#include <windows.h>

#include "display/display_context.h"

// Unscaled copy of a picture rectangle to (x, y), clipped to the 640 by 480
// screen, leaving out the slot's colour key.
HRESULT DrawKeyed(int x, int y, ImageSlot& slot, int left, int top, int right, int bottom);
// Scaled copy of a picture rectangle into (x, y, width, height), no key.
HRESULT DrawStretched(int x, int y, ImageSlot& slot, int width, int height, int left, int top, int right, int bottom);
// One line of Shift-JIS text in "ＭＳゴシック", transparent background.
void DrawTextLine(const char* text, int fontHeight, int x, int y, int red, int green, int blue);
