// The two display formats a surface can have. Surfaces never choose: they
// take the format of the display their DirectDraw object drives.
#pragma once

#include <ddraw.h>

#include "gdi/drawing_target.h"

namespace platform::ddraw {

struct SurfaceFormat {
    int bytesPerPixel = 4;
    DWORD redMask = 0;
    DWORD greenMask = 0;
    DWORD blueMask = 0;
    gdi::PixelFormat gdiFormat = gdi::PixelFormat::Xrgb8888;

    DWORD BitCount() const { return static_cast<DWORD>(bytesPerPixel * 8); }
    bool operator==(const SurfaceFormat&) const = default;
};

// The desktop's format, which windowed surfaces share.
inline constexpr SurfaceFormat kXrgb8888 { 4, 0xFF0000, 0x00FF00, 0x0000FF, gdi::PixelFormat::Xrgb8888 };
// The exclusive display mode.
inline constexpr SurfaceFormat kRgb565 { 2, 0xF800, 0x07E0, 0x001F, gdi::PixelFormat::Rgb565 };

inline void DescribeFormat(const SurfaceFormat& format, DDPIXELFORMAT& out)
{
    out = {};
    out.dwSize = sizeof(DDPIXELFORMAT);
    out.dwFlags = DDPF_RGB;
    out.dwRGBBitCount = format.BitCount();
    out.dwRBitMask = format.redMask;
    out.dwGBitMask = format.greenMask;
    out.dwBBitMask = format.blueMask;
}

inline bool MatchesFormat(const DDPIXELFORMAT& asked, const SurfaceFormat& format)
{
    return (asked.dwFlags & DDPF_RGB) != 0 && asked.dwRGBBitCount == format.BitCount()
        && asked.dwRBitMask == format.redMask && asked.dwGBitMask == format.greenMask
        && asked.dwBBitMask == format.blueMask;
}

} // namespace platform::ddraw
