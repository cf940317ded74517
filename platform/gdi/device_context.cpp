// Device contexts and object selection. An object still selected into a
// context cannot be deleted (DeleteObject returns FALSE and the object stays
// valid): deleting it would leave the context drawing from freed memory.
#include <cstring>

#include <windows.h>

#include "gdi/objects.h"
#include "gdi/surface_dc.h"

namespace platform::gdi {
namespace {

void SelectBitmapInto(DeviceContext& context, HDC handle, HBITMAP bitmapHandle, Bitmap& bitmap)
{
    if (Bitmap* previous = FindBitmap(context.bitmap); previous != nullptr && !previous->stock)
        previous->selectedInto = nullptr;
    if (!bitmap.stock) bitmap.selectedInto = handle;
    context.bitmap = bitmapHandle;
    context.target = bitmap.Target();
}

void SelectFontInto(DeviceContext& context, HFONT fontHandle, Font& font)
{
    if (Font* previous = FindFont(context.font); previous != nullptr) --previous->selectionCount;
    ++font.selectionCount;
    context.font = fontHandle;
}

// Leaves the context's objects free to be deleted.
void ReleaseSelections(DeviceContext& context)
{
    if (Bitmap* bitmap = FindBitmap(context.bitmap); bitmap != nullptr && !bitmap->stock)
        bitmap->selectedInto = nullptr;
    if (Font* font = FindFont(context.font); font != nullptr) --font->selectionCount;
    context.bitmap = nullptr;
    context.font = nullptr;
}

HDC AddContextWithDefaults(std::unique_ptr<DeviceContext> context)
{
    DeviceContext& created = *context;
    HDC handle = AddContext(std::move(context));
    HFONT font = DefaultFont();
    SelectFontInto(created, font, *FindFont(font));
    if (created.kind == ContextKind::Memory) {
        HBITMAP bitmap = DefaultBitmap();
        SelectBitmapInto(created, handle, bitmap, *FindBitmap(bitmap));
    }
    return handle;
}

int DescribeBitmap(const Bitmap& bitmap, int size, void* buffer)
{
    constexpr int needed = sizeof(BITMAP);
    if (buffer == nullptr) return needed;
    if (size < needed) return 0;
    BITMAP description {};
    description.bmType = 0;
    description.bmWidth = bitmap.width;
    description.bmHeight = bitmap.topDown ? -bitmap.height : bitmap.height;
    // The stride a DIB of the file's depth has: rows padded to four bytes.
    description.bmWidthBytes = ((bitmap.width * bitmap.fileBitsPerPixel + 31) / 32) * 4;
    description.bmPlanes = 1;
    description.bmBitsPixel = static_cast<WORD>(bitmap.fileBitsPerPixel);
    description.bmBits = const_cast<uint32_t*>(bitmap.pixels.data());
    std::memcpy(buffer, &description, sizeof(description));
    return needed;
}

int DescribeFont(const Font& font, int size, void* buffer)
{
    constexpr int needed = sizeof(LOGFONTA);
    if (buffer == nullptr) return needed;
    if (size < needed) return 0;
    std::memcpy(buffer, &font.description, sizeof(font.description));
    return needed;
}

} // namespace

HDC CreateSurfaceDC(const DrawingTarget& target)
{
    if (!IsUsable(target)) return nullptr;
    auto context = std::make_unique<DeviceContext>();
    context->kind = ContextKind::Surface;
    context->target = target;
    return AddContextWithDefaults(std::move(context));
}

void DeleteSurfaceDC(HDC handle)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || context->kind != ContextKind::Surface) return;
    ReleaseSelections(*context);
    Objects().Remove(handle);
}

} // namespace platform::gdi

using namespace platform::gdi;

HDC WINAPI CreateCompatibleDC(HDC compatibleWith)
{
    if (compatibleWith != nullptr && FindContext(compatibleWith) == nullptr) return nullptr;
    return AddContextWithDefaults(std::make_unique<DeviceContext>());
}

// Surface contexts belong to their surface and end with ReleaseDC.
BOOL WINAPI DeleteDC(HDC handle)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || context->kind != ContextKind::Memory) return FALSE;
    ReleaseSelections(*context);
    Objects().Remove(handle);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr) return nullptr;
    if (Bitmap* bitmap = FindBitmap(object); bitmap != nullptr) {
        // A bitmap is drawn through one memory context at a time.
        if (context->kind != ContextKind::Memory) return nullptr;
        if (!bitmap->stock && bitmap->selectedInto != nullptr && bitmap->selectedInto != handle) return nullptr;
        HBITMAP previous = context->bitmap;
        SelectBitmapInto(*context, handle, static_cast<HBITMAP>(object), *bitmap);
        return previous;
    }
    if (Font* font = FindFont(object); font != nullptr) {
        HFONT previous = context->font;
        SelectFontInto(*context, static_cast<HFONT>(object), *font);
        return previous;
    }
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    if (Bitmap* bitmap = FindBitmap(object); bitmap != nullptr) {
        if (bitmap->stock) return TRUE; // Windows ignores deleting stock objects
        if (bitmap->selectedInto != nullptr) return FALSE;
    } else if (Font* font = FindFont(object); font != nullptr) {
        if (font->stock) return TRUE;
        if (font->selectionCount > 0) return FALSE;
    } else {
        return FALSE;
    }
    Objects().Remove(object);
    return TRUE;
}

int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer)
{
    if (size < 0) return 0;
    if (const Bitmap* bitmap = FindBitmap(object); bitmap != nullptr) return DescribeBitmap(*bitmap, size, buffer);
    if (const Font* font = FindFont(object); font != nullptr) return DescribeFont(*font, size, buffer);
    return 0;
}

int WINAPI SetBkMode(HDC handle, int mode)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = context->backgroundMode;
    context->backgroundMode = mode;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF colour)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr) return CLR_INVALID;
    COLORREF previous = context->textColour;
    context->textColour = colour;
    return previous;
}
