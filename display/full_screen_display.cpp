#include "display/full_screen_display.h"

#include <ddraw.h>
#include <string.h>

#include "display/display_context.h"
#include "display/release_display.h"
#include "display/windowed_display.h"
#include "shell/application.h"

// A flipping primary with one back buffer attached; it is never flipped,
// the back buffer is copied onto it.
static bool CreateFlippingPrimary()
{
    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    description.dwBackBufferCount = 1;
    if (displayContext.directDraw->CreateSurface(&description, &displayContext.primary, NULL) == DD_OK) return true;
    displayContext.primary = NULL;
    return false;
}

static bool FindAttachedBackBuffer()
{
    DDSCAPS caps;
    memset(&caps, 0, sizeof(caps));
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (displayContext.primary->GetAttachedSurface(&caps, &displayContext.backBuffer) == DD_OK) return true;
    displayContext.backBuffer = NULL;
    return false;
}

bool InitFullScreenDisplay()
{
    if (!CreateDirectDraw2(DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE)) return false;
    if (displayContext.directDraw->SetDisplayMode(640, 480, 16, 0, 0) != DD_OK) return false;
    if (!CreateFlippingPrimary()) return false;
    return FindAttachedBackBuffer();
}

bool SwitchToFullScreen()
{
    // Set before the release: after a failure the flag names the mode asked for.
    displayContext.fullScreen = 1;
    ReleaseDisplay();
    bool made = InitFullScreenDisplay();
    if (!made) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ShowCursor(FALSE);
    return made;
}

bool SwitchToWindowed()
{
    displayContext.fullScreen = 0;
    ReleaseDisplay();
    ShowCursor(TRUE);
    bool made = InitWindowedDisplay();
    if (!made) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    return made;
}
