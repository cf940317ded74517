#include "ddraw/blitters.h"

#include <algorithm>
#include <cstring>

#include "ddraw/pixel_rows.h"

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

constexpr int64_t kStreamedPixels = 64 * 1024;

void CopyMaskedRows(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    // A window's client pixels are read again only when shown: a whole
    // frame of them streams past the caches.
    const bool stream = keepBits == kKeepColourBits && area.Width() * area.Height() >= kStreamedPixels;
    for (int64_t y = 0; y < area.Height(); ++y) {
        uint8_t* out = target.At(area.left, area.top + y);
        const uint8_t* in = source.At(sourceX, sourceY + y);
        if (stream)
            rows::StreamMasked32(out, in, area.Width(), keepBits);
        else
            rows::CopyMasked32(out, in, area.Width(), keepBits);
    }
    if (stream) rows::FinishStreaming();
}

// Walks source coordinates for consecutive destination coordinates without
// a division per pixel: source = origin + (offset * sourceSize) / destSize.
struct NearestStepper {
    int64_t position;
    int64_t remainder;
    int64_t wholeStep;
    int64_t fractionStep;
    int64_t divisor;

    NearestStepper(int64_t sourceOrigin, int64_t sourceSize, int64_t destSize, int64_t firstOffset)
        : position(sourceOrigin + firstOffset * sourceSize / destSize)
        , remainder(firstOffset * sourceSize % destSize)
        , wholeStep(sourceSize / destSize)
        , fractionStep(sourceSize % destSize)
        , divisor(destSize)
    {
    }

    void Advance()
    {
        position += wholeStep;
        remainder += fractionStep;
        if (remainder >= divisor) {
            remainder -= divisor;
            ++position;
        }
    }
};

// Destination columns are done in chunks whose source columns are worked
// out once for all rows; a destination row that shows the same source row
// as the one above it is a copy of that row. A chunk spans any screen's
// width, so rows are written whole, one after the other.
template <typename Pixel>
void StretchRows(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect, uint32_t keepBits)
{
    constexpr int64_t kChunk = 1024;
    int64_t sourceColumns[kChunk];
    NearestStepper column(sourceRect.left, sourceRect.Width(), destination.Width(), visible.left - destination.left);
    for (int64_t chunkStart = 0; chunkStart < visible.Width(); chunkStart += kChunk) {
        const int64_t chunkWidth = std::min(kChunk, visible.Width() - chunkStart);
        for (int64_t i = 0; i < chunkWidth; ++i, column.Advance())
            sourceColumns[i] = column.position * static_cast<int64_t>(sizeof(Pixel));
        NearestStepper row(sourceRect.top, sourceRect.Height(), destination.Height(), visible.top - destination.top);
        const uint8_t* previousIn = nullptr;
        const uint8_t* previousOut = nullptr;
        for (int64_t y = visible.top; y < visible.bottom; ++y, row.Advance()) {
            uint8_t* out = target.At(visible.left + chunkStart, y);
            const uint8_t* in = source.At(0, row.position);
            if (in == previousIn) {
                std::memcpy(out, previousOut, static_cast<size_t>(chunkWidth) * sizeof(Pixel));
            } else {
                for (int64_t i = 0; i < chunkWidth; ++i)
                    Store<Pixel>(out + i * static_cast<int64_t>(sizeof(Pixel)),
                        static_cast<Pixel>(Load<Pixel>(in + sourceColumns[i]) & keepBits));
                previousIn = in;
            }
            previousOut = out;
        }
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
    if (target.bytesPerPixel == 4 && keepBits != kKeepAllBits) {
        CopyMaskedRows(target, area, source, sourceX, sourceY, keepBits);
        return;
    }
    const size_t rowBytes = static_cast<size_t>(area.Width() * target.bytesPerPixel);
    for (int64_t y = 0; y < area.Height(); ++y)
        std::memcpy(target.At(area.left, area.top + y), source.At(sourceX, sourceY + y), rowBytes);
}

void CopyKeyedPixels(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    // A range given upside down keys its low value alone.
    const uint32_t keyRange = keyHigh >= keyLow ? keyHigh - keyLow : 0;
    CopyKeyedRows(target, area, source, sourceX, sourceY, keyLow, keyRange, keepBits);
}

void StretchPixels(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect, uint32_t keepBits)
{
    if (visible.IsEmpty() || destination.IsEmpty() || sourceRect.IsEmpty()) return;
    if (target.bytesPerPixel == 2)
        StretchRows<uint16_t>(target, destination, visible, source, sourceRect, keepBits);
    else
        StretchRows<uint32_t>(target, destination, visible, source, sourceRect, keepBits);
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
