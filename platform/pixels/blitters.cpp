#include "pixels/blitters.h"

#include <algorithm>
#include <cstring>

#include "pixels/loop_choice.h"

namespace platform::pixels {
namespace {

void StretchRows(uint8_t* out, int64_t outPitch, const StretchMap& map, const PixelView& source, int64_t top,
    int64_t bottom, int64_t left, int64_t right, uint32_t keepBits)
{
    const int64_t bytes = source.bytesPerPixel;
    const PixelLoops& loops = Loops(int(bytes));
    const size_t rowBytes = size_t(right - left) * size_t(bytes);
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
                loops.pickColumns(map.rowCache, in, map.sourceColumns, map.columnsCount, kKeepAllBits);
                *map.cachedRow = sourceY;
            }
            const uint8_t* cached = map.rowCache + (left - map.columnsFrom) * bytes;
            if (bytes == 4 && keepBits != kKeepAllBits)
                loops.copyMasked(row, cached, right - left, keepBits);
            else
                std::memcpy(row, cached, rowBytes);
        } else {
            loops.pickColumns(row, in, map.sourceColumns + (left - map.columnsFrom), right - left, keepBits);
        }
        previousIn = in;
        previousOut = row;
    }
}

} // namespace

void FillPixels(const PixelView& target, const Rectangle& area, uint32_t raw, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    const PixelLoops& loops = Loops(target.bytesPerPixel);
    const uint32_t value = target.bytesPerPixel == 2 ? raw : raw & keepBits;
    for (int64_t y = area.top; y < area.bottom; ++y)
        loops.fill(target.At(area.left, y), area.Width(), value);
}

void CopyPixels(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, uint32_t keepBits, PresentationStores stores)
{
    if (area.IsEmpty()) return;
    for (int64_t y = 0; y < area.Height(); ++y)
        CopyRowWith(stores, target.At(area.left, area.top + y), source.At(sourceX, sourceY + y), area.Width(),
            target.bytesPerPixel, keepBits);
    FinishStores(stores);
}

void CopyKeyedPixels(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, ColourKey key, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    Loops(target.bytesPerPixel)
        .copyKeyed({ target.At(area.left, area.top), target.pitch, source.At(sourceX, sourceY), source.pitch,
                       area.Width(), area.Height() },
            key, keepBits);
}

void MapStretchColumns(
    const Rectangle& destination, const Rectangle& sourceRect, int64_t from, int64_t to, int32_t* columns)
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

void StretchBand(uint8_t* out, int64_t outPitch, const StretchMap& map, const PixelView& source, int64_t top,
    int64_t bottom, int64_t left, int64_t right, uint32_t keepBits)
{
    if (top >= bottom || left >= right) return;
    StretchRows(out, outPitch, map, source, top, bottom, left, right, keepBits);
}

// Destination columns are done in chunks whose source columns are worked
// out once for all rows; a chunk spans any screen's width, so rows are
// written whole, one after the other.
void StretchPixels(const PixelView& target, const Rectangle& destination, const Rectangle& visible,
    const PixelView& source, const Rectangle& sourceRect, uint32_t keepBits)
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

} // namespace platform::pixels
