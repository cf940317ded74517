#include "ddraw/blitters.h"

#include <algorithm>
#include <cstring>

#include "ddraw/pixel_rows.h"
#include "ddraw/store_kinds.h"

namespace platform::ddraw {
namespace {

using rows::Load;
using rows::Store;

void FillRows(const Raster& target, const Span2D& area, uint32_t value)
{
    for (int64_t y = area.top; y < area.bottom; ++y) {
        uint8_t* row = target.At(area.left, y);
        if (target.bytesPerPixel == 2)
            rows::Fill16(row, area.Width(), static_cast<uint16_t>(value));
        else
            rows::Fill32(row, area.Width(), value);
    }
}

void CopyKeyedRows(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    const rows::Area rectangle { target.At(area.left, area.top), target.pitch, source.At(sourceX, sourceY),
        source.pitch, area.Width(), area.Height() };
    if (target.bytesPerPixel == 2)
        rows::CopyKeyed16(rectangle, keyLow, keyRange);
    else
        rows::CopyKeyed32(rectangle, keyLow, keyRange, keepBits);
}

void CopyRows(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    const rows::StoreKind kind = rows::StoreKindForCopy(area.Width(), area.Height(), target.bytesPerPixel);
    for (int64_t y = 0; y < area.Height(); ++y)
        rows::CopyRowWith(kind, target.At(area.left, area.top + y), source.At(sourceX, sourceY + y), area.Width(),
            target.bytesPerPixel, keepBits);
    rows::FinishStores(kind);
}

template <typename Pixel>
void PickColumns(uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits)
{
    constexpr int64_t bytes = sizeof(Pixel);
    int64_t done = 0;
    if constexpr (bytes == 4) done = rows::PickColumns32(out, in, columns, count, keepBits);
    for (int64_t i = done; i < count; ++i)
        Store<Pixel>(out + i * bytes, static_cast<Pixel>(Load<Pixel>(in + columns[i] * bytes) & keepBits));
}

template <typename Pixel>
void StretchRows(uint8_t* out, int64_t outPitch, const StretchMap& map, const Raster& source, int64_t top,
    int64_t bottom, int64_t left, int64_t right, uint32_t keepBits)
{
    constexpr int64_t bytes = sizeof(Pixel);
    const size_t rowBytes = size_t(right - left) * bytes;
    const uint8_t* previousIn = nullptr;
    const uint8_t* previousOut = nullptr;
    for (int64_t y = top; y < bottom; ++y, out += outPitch) {
        const int64_t sourceY
            = map.sourceRect.top + (y - map.destination.top) * map.sourceRect.Height() / map.destination.Height();
        const uint8_t* in = source.At(0, sourceY);
        uint8_t* row = out + left * bytes;
        if (in == previousIn) {
            std::memcpy(row, previousOut, rowBytes);
        } else if (map.rowCache != nullptr) {
            // The cache keeps whole pixels; each band keeps what its target does.
            if (*map.cachedRow != sourceY) {
                PickColumns<Pixel>(map.rowCache, in, map.sourceColumns, map.columnsCount, kKeepAllBits);
                *map.cachedRow = sourceY;
            }
            const uint8_t* cached = map.rowCache + (left - map.columnsFrom) * bytes;
            if (bytes == 4 && keepBits != kKeepAllBits)
                rows::CopyMasked32(row, cached, right - left, keepBits);
            else
                std::memcpy(row, cached, rowBytes);
        } else {
            PickColumns<Pixel>(row, in, map.sourceColumns + (left - map.columnsFrom), right - left, keepBits);
        }
        previousIn = in;
        previousOut = row;
    }
}

} // namespace

void FillPixels(const Raster& target, const Span2D& area, uint32_t raw, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    FillRows(target, area, target.bytesPerPixel == 2 ? raw : raw & keepBits);
}

void CopyPixels(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    CopyRows(target, area, source, sourceX, sourceY, keepBits);
}

void CopyKeyedPixels(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    // A range given upside down keys its low value alone.
    const uint32_t keyRange = keyHigh >= keyLow ? keyHigh - keyLow : 0;
    CopyKeyedRows(target, area, source, sourceX, sourceY, keyLow, keyRange, keepBits);
}

void MapStretchColumns(const Span2D& destination, const Span2D& sourceRect, int64_t from, int64_t to, int32_t* columns)
{
    if (from >= to) return;
    // source = left + (offset * width) / destinationWidth, stepped without a
    // division per column.
    const int64_t width = sourceRect.Width(), destinationWidth = destination.Width();
    const int64_t first = (from - destination.left) * width;
    int64_t position = sourceRect.left + first / destinationWidth, remainder = first % destinationWidth;
    const int64_t step = width / destinationWidth, fraction = width % destinationWidth;
    for (int64_t x = from; x < to; ++x) {
        columns[x - from] = int32_t(position);
        position += step;
        remainder += fraction;
        if (remainder >= destinationWidth) {
            remainder -= destinationWidth;
            ++position;
        }
    }
}

void StretchBand(uint8_t* out, int64_t outPitch, const StretchMap& map, const Raster& source, int64_t top,
    int64_t bottom, int64_t left, int64_t right, uint32_t keepBits)
{
    if (top >= bottom || left >= right) return;
    if (source.bytesPerPixel == 2)
        StretchRows<uint16_t>(out, outPitch, map, source, top, bottom, left, right, keepBits);
    else
        StretchRows<uint32_t>(out, outPitch, map, source, top, bottom, left, right, keepBits);
}

// Destination columns are done in chunks whose source columns are worked
// out once for all rows; a chunk spans any screen's width, so rows are
// written whole, one after the other.
void StretchPixels(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect, uint32_t keepBits)
{
    if (visible.IsEmpty() || destination.IsEmpty() || sourceRect.IsEmpty()) return;
    constexpr int64_t kChunk = 1024;
    int32_t columns[kChunk];
    for (int64_t left = visible.left; left < visible.right; left += kChunk) {
        const int64_t right = std::min(left + kChunk, visible.right);
        MapStretchColumns(destination, sourceRect, left, right, columns);
        const StretchMap map { destination, sourceRect, columns, left, right - left };
        StretchBand(
            target.At(0, visible.top), target.pitch, map, source, visible.top, visible.bottom, left, right, keepBits);
    }
}

void FillLostPattern(const Raster& target)
{
    // Magenta and green squares of 8 pixels, in either depth.
    const uint32_t first = target.bytesPerPixel == 2 ? 0xF81Fu : 0x00FF00FFu;
    const uint32_t second = target.bytesPerPixel == 2 ? 0x07E0u : 0x0000FF00u;
    for (int y = 0; y < target.height; ++y)
        for (int x = 0; x < target.width; ++x) {
            const uint32_t value = ((x / 8 + y / 8) % 2 == 0) ? first : second;
            if (target.bytesPerPixel == 2)
                Store<uint16_t>(target.At(x, y), static_cast<uint16_t>(value));
            else
                Store<uint32_t>(target.At(x, y), value);
        }
}

} // namespace platform::ddraw
