// Clearing the back buffer and copying it to the screen once per frame.
#include "display/presentation.h"

#include <ddraw.h>
#include <string.h>

#include "display/display_context.h"
#include "shell/application.h"

HRESULT ClearBackBuffer()
{
    // Only a failed set-up leaves no back buffer, and it has already asked
    // the window to close; no frame may touch the missing surface meanwhile.
    if (displayContext.backBuffer == NULL) return DDERR_INVALIDOBJECT;
    RECT destination = { 0, 0, 640, 480 };
    DDBLTFX effects;
    memset(&effects, 0, sizeof(effects));
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = 0;
    return displayContext.backBuffer->Blt(&destination, NULL, NULL, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

void GetClientScreenRect(HWND window, RECT* rectangle)
{
    POINT origin = { 0, 0 };
    ClientToScreen(window, &origin);
    GetClientRect(window, rectangle);
    OffsetRect(rectangle, origin.x, origin.y);
}

// The flipping chain is never flipped: the back buffer is copied onto the
// front buffer instead.
static void PresentFullScreen()
{
    RECT source = { 0, 0, 640, 480 };
    HRESULT result = displayContext.primary->BltFast(0, 0, displayContext.backBuffer, &source, DDBLTFAST_WAIT);
    if (result == DDERR_SURFACELOST) displayContext.primary->Restore();
}

// The clipper keeps the copy inside the visible client area; a client area
// of another size gets a scaled copy.
static void PresentWindowed()
{
    RECT destination;
    RECT source;
    GetClientScreenRect(mainWindow, &destination);
    SetRect(&source, 0, 0, 640, 480);
    HRESULT result = displayContext.primary->Blt(&destination, displayContext.backBuffer, &source, DDBLT_WAIT, NULL);
    if (result == DDERR_SURFACELOST) {
        displayContext.primary->Restore();
        displayContext.backBuffer->Restore();
    }
}

void PresentFrame()
{
    if (displayContext.primary == NULL || displayContext.backBuffer == NULL) return;
    if (displayContext.fullScreen != 0)
        PresentFullScreen();
    else
        PresentWindowed();
}
