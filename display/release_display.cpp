#include "display/release_display.h"

#include "display/display_context.h"

static void ReleaseImageSurfaces()
{
    for (int i = 0; i < IMAGE_TABLE_SIZE; ++i) {
        if (imageTable[i].surface != NULL) {
            imageTable[i].surface->Release();
            imageTable[i].surface = NULL;
        }
    }
}

bool ReleaseDisplay()
{
    if (displayContext.directDraw == NULL) return true;
    ReleaseImageSurfaces();
    if (displayContext.clipper != NULL) {
        displayContext.clipper->Release();
        displayContext.clipper = NULL;
    }
    if (displayContext.backBuffer != NULL) {
        displayContext.backBuffer->Release();
        displayContext.backBuffer = NULL;
    }
    if (displayContext.primary != NULL) {
        displayContext.primary->Release();
        displayContext.primary = NULL;
    }
    // Releasing the DirectDraw object gives the display back to the desktop.
    displayContext.directDraw->Release();
    displayContext.directDraw = NULL;
    return true;
}
