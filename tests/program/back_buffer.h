// Reading back what a frame drew, before it is presented.
#pragma once

#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "display/display_context.h"

// A 5-6-5 pixel widened to 8-8-8 by repeating its top bits.
inline uint32_t Widen565(uint16_t pixel)
{
    uint32_t r = (pixel >> 11) & 31, g = (pixel >> 5) & 63, b = pixel & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// The 640 by 480 back buffer as 0x00RRGGBB (16-bit displays widened), rows
// top to bottom; empty when it cannot be locked.
inline std::vector<uint32_t> ReadBackBuffer()
{
    std::vector<uint32_t> pixels(640 * 480);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    if (!displayContext.backBuffer || displayContext.backBuffer->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK)
        return {};
    bool sixteenBits = description.ddpfPixelFormat.dwRGBBitCount == 16;
    for (int y = 0; y < 480; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(description.lpSurface) + y * description.lPitch;
        for (int x = 0; x < 640; ++x)
            pixels[y * 640 + x] = sixteenBits ? Widen565(reinterpret_cast<const uint16_t*>(row)[x])
                                              : reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    displayContext.backBuffer->Unlock(NULL);
    return pixels;
}
