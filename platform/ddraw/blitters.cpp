#include "ddraw/blitters.h"

#include <cstring>

namespace platform::ddraw {
namespace {

template <typename Pixel> Pixel Load(const uint8_t* address)
{
    Pixel value;
    std::memcpy(&value, address, sizeof(Pixel));
    return value;
}

template <typename Pixel> void Store(uint8_t* address, Pixel value) { std::memcpy(address, &value, sizeof(Pixel)); }

template <typename Pixel> void FillRows(const Raster& target, const Span2D& area, Pixel value)
{
    for (int64_t y = area.top; y < area.bottom; ++y) {
        uint8_t* row = target.At(area.left, y);
        for (int64_t x = 0; x < area.Width(); ++x)
            Store<Pixel>(row + x * sizeof(Pixel), value);
    }
}

template <typename Pixel>
void CopyKeyedRows(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyRange, uint32_t keepBits)
{
    const int64_t width = area.Width();
    for (int64_t y = 0; y < area.Height(); ++y) {
        uint8_t* out = target.At(area.left, area.top + y);
        const uint8_t* in = source.At(sourceX, sourceY + y);
        for (int64_t x = 0; x < width; ++x) {
            Pixel value = Load<Pixel>(in + x * sizeof(Pixel));
            // One unsigned comparison tests low <= value <= high.
            if (static_cast<uint32_t>(value) - keyLow <= keyRange) continue;
            Store<Pixel>(out + x * sizeof(Pixel), static_cast<Pixel>(value & keepBits));
        }
    }
}

template <typename Pixel>
void CopyMaskedRows(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    for (int64_t y = 0; y < area.Height(); ++y) {
        uint8_t* out = target.At(area.left, area.top + y);
        const uint8_t* in = source.At(sourceX, sourceY + y);
        for (int64_t x = 0; x < area.Width(); ++x)
            Store<Pixel>(out + x * sizeof(Pixel), static_cast<Pixel>(Load<Pixel>(in + x * sizeof(Pixel)) & keepBits));
    }
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

template <typename Pixel>
void StretchRows(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect, uint32_t keepBits)
{
    NearestStepper row(sourceRect.top, sourceRect.Height(), destination.Height(), visible.top - destination.top);
    for (int64_t y = visible.top; y < visible.bottom; ++y, row.Advance()) {
        uint8_t* out = target.At(visible.left, y);
        const uint8_t* in = source.At(0, row.position);
        NearestStepper column(
            sourceRect.left, sourceRect.Width(), destination.Width(), visible.left - destination.left);
        for (int64_t x = 0; x < visible.Width(); ++x, column.Advance()) {
            Pixel value = Load<Pixel>(in + column.position * static_cast<int64_t>(sizeof(Pixel)));
            Store<Pixel>(out + x * sizeof(Pixel), static_cast<Pixel>(value & keepBits));
        }
    }
}

} // namespace

void FillPixels(const Raster& target, const Span2D& area, uint32_t raw, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    if (target.bytesPerPixel == 2)
        FillRows<uint16_t>(target, area, static_cast<uint16_t>(raw));
    else
        FillRows<uint32_t>(target, area, raw & keepBits);
}

void CopyPixels(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    if (area.IsEmpty()) return;
    if (target.bytesPerPixel == 4 && keepBits != kKeepAllBits) {
        CopyMaskedRows<uint32_t>(target, area, source, sourceX, sourceY, keepBits);
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
    if (target.bytesPerPixel == 2)
        CopyKeyedRows<uint16_t>(target, area, source, sourceX, sourceY, keyLow, keyRange, keepBits);
    else
        CopyKeyedRows<uint32_t>(target, area, source, sourceX, sourceY, keyLow, keyRange, keepBits);
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
