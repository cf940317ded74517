#include "display/image_slot.h"

#include <string.h>

static IDirectDrawSurface* CreatePictureSurface(DWORD width, DWORD height)
{
    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = width;
    description.dwHeight = height;
    IDirectDrawSurface* surface = NULL;
    if (displayContext.directDraw->CreateSurface(&description, &surface, NULL) != DD_OK) return NULL;
    return surface;
}

// GDI converts the pixels into the surface's format on the way.
static void CopyBitmapToSurface(HBITMAP bitmap, IDirectDrawSurface* surface, int width, int height)
{
    HDC memoryContext = CreateCompatibleDC(NULL);
    HGDIOBJ keptObject = SelectObject(memoryContext, bitmap);
    HDC surfaceContext;
    if (surface->GetDC(&surfaceContext) == DD_OK) {
        BitBlt(surfaceContext, 0, 0, width, height, memoryContext, 0, 0, SRCCOPY);
        surface->ReleaseDC(surfaceContext);
    }
    SelectObject(memoryContext, keptObject);
    DeleteDC(memoryContext);
}

static void RecordSurfaceSize(ImageSlot& slot)
{
    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    if (slot.surface->GetSurfaceDesc(&description) == DD_OK) {
        slot.width = description.dwWidth;
        slot.height = description.dwHeight;
        slot.pitch = description.lPitch;
    } else {
        slot.width = 0;
        slot.height = 0;
        slot.pitch = 0;
    }
}

bool LoadImageSlot(ImageSlot& slot, const char* fileName)
{
    if (displayContext.directDraw == NULL) return false;
    HBITMAP bitmap = (HBITMAP)LoadImageA(NULL, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (bitmap == NULL) return false;

    BITMAP bitmapDescription;
    memset(&bitmapDescription, 0, sizeof(bitmapDescription));
    GetObjectA(bitmap, sizeof(bitmapDescription), &bitmapDescription);
    // A top-down bitmap reports a negative height.
    int width = bitmapDescription.bmWidth < 0 ? -bitmapDescription.bmWidth : bitmapDescription.bmWidth;
    int height = bitmapDescription.bmHeight < 0 ? -bitmapDescription.bmHeight : bitmapDescription.bmHeight;

    IDirectDrawSurface* surface = CreatePictureSurface((DWORD)width, (DWORD)height);
    if (surface == NULL) {
        DeleteObject(bitmap);
        return false;
    }
    CopyBitmapToSurface(bitmap, surface, width, height);
    DeleteObject(bitmap);

    slot.surface = surface;
    slot.fileName = fileName;

    // Until the caller keys the slot, raw 0 is the transparent value.
    DDCOLORKEY provisionalKey;
    provisionalKey.dwColorSpaceLowValue = 0;
    provisionalKey.dwColorSpaceHighValue = 0;
    surface->SetColorKey(DDCKEY_SRCBLT, &provisionalKey);

    RecordSurfaceSize(slot);
    slot.loaded = 1;
    return true;
}

// Lets GDI write the colour at (0, 0) and reads back the raw value the
// surface's format gives it; the pixel is put back afterwards.
DWORD MatchColorKeyValue(IDirectDrawSurface* surface, COLORREF colour)
{
    DWORD result = 0xFFFFFFFF;
    bool written = false;
    COLORREF savedColour = 0;
    HDC context;
    if (colour != CLR_INVALID && surface->GetDC(&context) == DD_OK) {
        savedColour = GetPixel(context, 0, 0);
        SetPixel(context, 0, 0, colour);
        surface->ReleaseDC(context);
        written = true;
    }

    DDSURFACEDESC description;
    memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    HRESULT locked;
    while ((locked = surface->Lock(NULL, &description, 0, NULL)) == DDERR_WASSTILLDRAWING) { }
    if (locked == DD_OK) {
        DWORD value;
        memcpy(&value, description.lpSurface, sizeof(value));
        DWORD bits = description.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32) value &= (1u << bits) - 1;
        result = value;
        surface->Unlock(NULL);
    }

    if (written && surface->GetDC(&context) == DD_OK) {
        SetPixel(context, 0, 0, savedColour);
        surface->ReleaseDC(context);
    }
    return result;
}

HRESULT SetSlotColorKey(ImageSlot& slot, COLORREF colour)
{
    if (slot.surface == NULL) return DD_OK;
    DWORD value = MatchColorKeyValue(slot.surface, colour);
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = value;
    key.dwColorSpaceHighValue = value;
    return slot.surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

void ReloadLoadedImages()
{
    for (int i = 0; i < IMAGE_TABLE_SIZE; ++i) {
        if (imageTable[i].loaded != 1) continue;
        LoadImageSlot(imageTable[i], imageTable[i].fileName);
        SetSlotColorKey(imageTable[i], MAGENTA_KEY_COLOUR);
    }
}
