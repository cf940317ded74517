// The windowed display: the desktop's own mode, a clipped primary and a
// separate 640 by 480 back buffer.
#include <ddraw.h>
#include <string.h>

#include "display/display_context.h"
#include "display/windowed_display.h"
#include "shell/application.h"

// Asks DirectDraw for the interface the program works with; the first
// interface lives only for this.
bool CreateDirectDraw2(DWORD cooperativeLevel)
{
    IDirectDraw* firstInterface = NULL;
    if (DirectDrawCreate(NULL, &firstInterface, NULL) != DD_OK) return false;
    firstInterface->SetCooperativeLevel(mainWindow, cooperativeLevel);
    HRESULT result = firstInterface->QueryInterface(IID_IDirectDraw2, (void**)&displayContext.directDraw);
    firstInterface->Release();
    firstInterface = NULL;
    if (result == DD_OK) return true;
    displayContext.directDraw = NULL;
    return false;
}

static bool CreateWindowedPrimary()
{
    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (displayContext.directDraw->CreateSurface(&description, &displayContext.primary, NULL) == DD_OK) return true;
    displayContext.primary = NULL;
    return false;
}

// Keeps windowed copies onto the primary inside the client area. Nothing
// here is checked: without a clipper the display still works.
static void AttachClipper()
{
    if (displayContext.directDraw->CreateClipper(0, &displayContext.clipper, NULL) != DD_OK) {
        displayContext.clipper = NULL;
        return;
    }
    displayContext.clipper->SetHWnd(0, mainWindow);
    displayContext.primary->SetClipper(displayContext.clipper);
}

static bool CreateWindowedBackBuffer()
{
    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    description.dwWidth = 640;
    description.dwHeight = 480;
    if (displayContext.directDraw->CreateSurface(&description, &displayContext.backBuffer, NULL) == DD_OK) return true;
    displayContext.backBuffer = NULL;
    return false;
}

bool InitWindowedDisplay()
{
    if (!CreateDirectDraw2(DDSCL_NORMAL)) return false;
    if (!CreateWindowedPrimary()) return false;
    AttachClipper();
    return CreateWindowedBackBuffer();
}
