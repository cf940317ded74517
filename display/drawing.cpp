#include "display/drawing.h"

#include <ddraw.h>
#include <string.h>

#include "display/image_slot.h"

// The surface lost its memory: restore it, load the picture again and key it
// as the scene did. The restored surface the slot held is no longer needed
// once the reload made a new one. A copy also fails while only the back
// buffer is lost (windowed, it comes back at the next presentation): a slot
// whose surface is whole keeps it, so one loss reads each picture once, not
// once for every copy left in the frame.
static void RecoverSlot(ImageSlot& slot)
{
    IDirectDrawSurface* restoredSurface = slot.surface;
    if (restoredSurface->IsLost() != DDERR_SURFACELOST) return;
    restoredSurface->Restore();
    if (LoadImageSlot(slot, slot.fileName)) {
        restoredSurface->Release();
        SetSlotColorKey(slot, MAGENTA_KEY_COLOUR);
    }
}

HRESULT DrawKeyed(int x, int y, ImageSlot& slot, int left, int top, int right, int bottom)
{
    // Clipping against the screen; the right and bottom cuts use the
    // position as passed in, before the left and top cuts move it.
    if (x - left + right > 640) right = left - x + 640;
    if (y - top + bottom > 480) bottom = top - y + 480;
    if (x < 0) {
        left = left - x;
        x = 0;
    }
    if (y < 0) {
        top = top - y;
        y = 0;
    }
    if (right < left) return DD_OK;
    if (bottom < top) return DD_OK;
    if (slot.surface == NULL) return DD_OK;

    RECT source = { left, top, right, bottom };
    HRESULT result = displayContext.backBuffer->BltFast(
        (DWORD)x, (DWORD)y, slot.surface, &source, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    if (result == DDERR_SURFACELOST) {
        displayContext.primary->Restore();
        RecoverSlot(slot);
    }
    return result;
}

HRESULT DrawStretched(int x, int y, ImageSlot& slot, int width, int height, int left, int top, int right, int bottom)
{
    RECT destination = { x, y, x + width, y + height };
    RECT source = { left, top, right, bottom };
    if (slot.surface == NULL) return DD_OK;
    HRESULT result = displayContext.backBuffer->Blt(&destination, slot.surface, &source, DDBLT_WAIT, NULL);
    if (result == DDERR_SURFACELOST) {
        displayContext.primary->Restore();
        displayContext.backBuffer->Restore();
        RecoverSlot(slot);
    }
    return result;
}

static void FillFontDescription(LOGFONTA* font, int fontHeight)
{
    lstrcpyA(font->lfFaceName, "ＭＳゴシック");
    font->lfWeight = FW_NORMAL;
    font->lfEscapement = 0;
    font->lfWidth = 0;
    font->lfHeight = fontHeight;
    font->lfItalic = 0;
    font->lfUnderline = 0;
    font->lfCharSet = SHIFTJIS_CHARSET;
}

void DrawTextLine(const char* text, int fontHeight, int x, int y, int red, int green, int blue)
{
    HDC context;
    if (displayContext.backBuffer == NULL || displayContext.backBuffer->GetDC(&context) != DD_OK) return;
    LOGFONTA* fontDescription = (LOGFONTA*)GlobalAlloc(GMEM_ZEROINIT, sizeof(LOGFONTA));
    if (fontDescription == NULL) {
        displayContext.backBuffer->ReleaseDC(context);
        return;
    }
    FillFontDescription(fontDescription, fontHeight);
    HFONT font = CreateFontIndirectA(fontDescription);
    HGDIOBJ keptObject = SelectObject(context, font);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, RGB(red & 0xFF, green & 0xFF, blue & 0xFF));
    TextOutA(context, x, y, text, (int)strlen(text));
    SelectObject(context, keptObject);
    DeleteObject(font);
    displayContext.backBuffer->ReleaseDC(context);
    GlobalFree(fontDescription);
}
