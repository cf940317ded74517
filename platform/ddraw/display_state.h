// What a DirectDraw object and its surfaces share: the cooperative level,
// the display mode and the list of surfaces. Surfaces hold it by shared_ptr,
// so a surface that outlives its DirectDraw object still finds it (and
// learns that the display is gone) instead of dangling.
#pragma once

#include <vector>

#include <windows.h>

#include "ddraw/pixel_formats.h"

namespace platform::ddraw {

class Surface;

struct DisplayState {
    DWORD cooperativeLevel = 0;
    HWND window = nullptr;
    bool modeSet = false; // SetDisplayMode succeeded: the exclusive 16-bit mode
    int modeWidth = 0;
    int modeHeight = 0;
    bool alive = true; // false once the DirectDraw object is released or abandoned
    Surface* primary = nullptr;
    std::vector<Surface*> surfaces;

    bool IsExclusive() const { return (cooperativeLevel & DDSCL_EXCLUSIVE) != 0; }
    bool InFullScreenMode() const { return alive && IsExclusive() && modeSet; }
    const SurfaceFormat& Format() const { return modeSet ? kRgb565 : kXrgb8888; }

    void LoseSurfaces();
    // A reset abandoned the display: its surfaces give their memory back.
    void AbandonSurfaces();
    void Forget(Surface* surface);
};

// Every live DirectDraw object's state, for the loss of the display.
void RegisterDisplay(DisplayState* display);
void UnregisterDisplay(DisplayState* display);

} // namespace platform::ddraw
