// Pixel memory that GDI draws on, and the conversions between GDI colours
// (COLORREF, 0x00BBGGRR), 0x00RRGGBB and a target's raw pixel values.
#pragma once

#include <cstdint>
#include <cstring>

#include <windows.h>

#include "common/pixel_view.h"
#include "common/rgb565.h"

namespace platform::gdi {

enum class PixelFormat { Xrgb8888, Rgb565 };

// The memory stays the owner's; its bytes per pixel agree with `format`.
struct DrawingTarget {
    PixelView memory;
    PixelFormat format = PixelFormat::Xrgb8888;
    // Called with `owner` before GDI reads or writes rows top .. bottom - 1,
    // for memory whose owner may still owe it pixels (a surface whose blits
    // wait).
    void* owner = nullptr;
    void (*prepareRows)(void* owner, int top, int bottom) = nullptr;
};

// Rows top .. bottom - 1, clipped to the target, are about to be read or written.
inline void PrepareRows(const DrawingTarget& target, int64_t top, int64_t bottom)
{
    if (target.prepareRows == nullptr) return;
    if (top < 0) top = 0;
    if (bottom > target.memory.height) bottom = target.memory.height;
    if (top < bottom) target.prepareRows(target.owner, static_cast<int>(top), static_cast<int>(bottom));
}

constexpr int BytesPerPixel(PixelFormat format) { return format == PixelFormat::Xrgb8888 ? 4 : 2; }

inline bool IsUsable(const DrawingTarget& target)
{
    const PixelView& memory = target.memory;
    return memory.pixels != nullptr && memory.width > 0 && memory.height > 0
        && memory.bytesPerPixel == BytesPerPixel(target.format) && memory.RowsFit();
}

inline bool Contains(const DrawingTarget& target, int x, int y) { return target.memory.Bounds().Contains(x, y); }

constexpr uint32_t ColorRefToRgb(COLORREF colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

constexpr COLORREF RgbToColorRef(uint32_t rgb) { return ColorRefToRgb(rgb); }

constexpr uint32_t RgbToRaw(uint32_t rgb, PixelFormat format)
{
    return format == PixelFormat::Xrgb8888 ? rgb & 0xFFFFFF : rgb565::FromXrgb(rgb);
}

constexpr uint32_t RawToRgb(uint32_t raw, PixelFormat format)
{
    return format == PixelFormat::Xrgb8888 ? raw & 0xFFFFFF : rgb565::ToXrgb(uint16_t(raw));
}

inline uint8_t* PixelAddress(const DrawingTarget& target, int x, int y) { return target.memory.At(x, y); }

// Unaligned-safe access: a surface's pitch need not be a multiple of four.
inline uint32_t ReadRaw(const DrawingTarget& target, int x, int y)
{
    const uint8_t* address = PixelAddress(target, x, y);
    if (target.format == PixelFormat::Xrgb8888) {
        uint32_t value;
        std::memcpy(&value, address, sizeof(value));
        return value;
    }
    uint16_t value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

inline void WriteRaw(const DrawingTarget& target, int x, int y, uint32_t raw)
{
    uint8_t* address = PixelAddress(target, x, y);
    if (target.format == PixelFormat::Xrgb8888) {
        std::memcpy(address, &raw, sizeof(raw));
        return;
    }
    uint16_t value = static_cast<uint16_t>(raw);
    std::memcpy(address, &value, sizeof(value));
}

} // namespace platform::gdi
