// Pictures: a bitmap file copied into an off-screen surface of the current
// display and given a source colour key.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include "display/display_context.h"

// The transparent colour of every picture.
#define MAGENTA_KEY_COLOUR RGB(255, 0, 255)

bool LoadImageSlot(ImageSlot& slot, const char* fileName);
DWORD MatchColorKeyValue(IDirectDrawSurface* surface, COLORREF colour);
HRESULT SetSlotColorKey(ImageSlot& slot, COLORREF colour);
void ReloadLoadedImages();
