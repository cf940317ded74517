// BitBlt, GetPixel and SetPixel: pixels converted between a context's
// format and GDI colours, never touching memory outside the targets.
#include <algorithm>
#include <cstring>

#include <windows.h>

#include "gdi/objects.h"

namespace platform::gdi {
namespace {

// One axis of a copy after clipping to both the source and the destination.
struct Span {
    int destination = 0;
    int source = 0;
    int length = 0;
};

Span ClipAxis(int destination, int source, int length, int destinationSize, int sourceSize)
{
    int64_t shift = std::max<int64_t>({ 0, -int64_t { destination }, -int64_t { source } });
    int64_t start = int64_t { destination } + shift, from = int64_t { source } + shift;
    int64_t count = std::min({ int64_t { length } - shift, destinationSize - start, sourceSize - from });
    if (count <= 0) return Span {};
    return Span { static_cast<int>(start), static_cast<int>(from), static_cast<int>(count) };
}

void CopyRow(
    const DrawingTarget& source, int sourceX, int sourceY, const DrawingTarget& destination, int x, int y, int count)
{
    if (source.format == destination.format) {
        std::memmove(PixelAddress(destination, x, y), PixelAddress(source, sourceX, sourceY),
            static_cast<size_t>(count) * BytesPerPixel(source.format));
        return;
    }
    for (int i = 0; i < count; ++i) {
        uint32_t rgb = RawToRgb(ReadRaw(source, sourceX + i, sourceY), source.format);
        WriteRaw(destination, x + i, y, RgbToRaw(rgb, destination.format));
    }
}

void CopyRows(const DrawingTarget& source, const DrawingTarget& destination, Span columns, Span rows)
{
    // Within one buffer, copy away from the overlap.
    bool upwards = source.memory.pixels == destination.memory.pixels && rows.destination > rows.source;
    for (int i = 0; i < rows.length; ++i) {
        int row = upwards ? rows.length - 1 - i : i;
        CopyRow(source, columns.source, rows.source + row, destination, columns.destination, rows.destination + row,
            columns.length);
    }
}

} // namespace
} // namespace platform::gdi

using namespace platform::gdi;

BOOL WINAPI BitBlt(HDC destinationHandle, int x, int y, int width, int height, HDC sourceHandle, int sourceX,
    int sourceY, DWORD rasterOperation)
{
    if (rasterOperation != SRCCOPY) return FALSE;
    DeviceContext* destination = FindContext(destinationHandle);
    DeviceContext* source = FindContext(sourceHandle);
    if (destination == nullptr || source == nullptr) return FALSE;
    if (width <= 0 || height <= 0) return TRUE;
    const DrawingTarget& to = destination->target;
    const DrawingTarget& from = source->target;
    Span columns = ClipAxis(x, sourceX, width, to.memory.width, from.memory.width);
    Span rows = ClipAxis(y, sourceY, height, to.memory.height, from.memory.height);
    if (columns.length <= 0 || rows.length <= 0) return TRUE;
    PrepareRows(from, rows.source, int64_t { rows.source } + rows.length);
    PrepareRows(to, rows.destination, int64_t { rows.destination } + rows.length);
    CopyRows(from, to, columns, rows);
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || !Contains(context->target, x, y)) return CLR_INVALID;
    const DrawingTarget& target = context->target;
    PrepareRows(target, y, int64_t { y } + 1);
    return RgbToColorRef(RawToRgb(ReadRaw(target, x, y), target.format));
}

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF colour)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || !Contains(context->target, x, y)) return CLR_INVALID;
    const DrawingTarget& target = context->target;
    uint32_t raw = RgbToRaw(ColorRefToRgb(colour), target.format);
    PrepareRows(target, y, int64_t { y } + 1);
    WriteRaw(target, x, y, raw);
    return RgbToColorRef(RawToRgb(raw, target.format));
}
