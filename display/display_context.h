// The DirectDraw objects of the current display, and the pictures that live
// on it. Each reference is owned once and released explicitly.
#pragma once

#include <ddraw.h>
#include <windows.h>

struct DisplayContext {
    IDirectDraw2* directDraw;
    IDirectDrawSurface* primary;
    IDirectDrawSurface* backBuffer;
    IDirectDrawClipper* clipper; // windowed only
    LONG fullScreen; // 0 windowed, 1 full screen
};

struct ImageSlot {
    BYTE loaded;
    IDirectDrawSurface* surface;
    const char* fileName; // the caller's string, kept as given
    DWORD width;
    DWORD height;
    LONG pitch;
};

#define IMAGE_TABLE_SIZE 100

extern DisplayContext displayContext;
extern ImageSlot imageTable[IMAGE_TABLE_SIZE];
