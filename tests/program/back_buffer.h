// Reading back what a frame drew, before it is presented.
#pragma once

#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "display/display_context.h"

// The 640 by 480 back buffer as 0x00RRGGBB, rows top to bottom; empty when
// it cannot be locked.
inline std::vector<uint32_t> ReadBackBuffer()
{
    std::vector<uint32_t> pixels(640 * 480);
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    if (!displayContext.backBuffer || displayContext.backBuffer->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK)
        return {};
    for (int y = 0; y < 480; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(description.lpSurface) + y * description.lPitch);
        for (int x = 0; x < 640; ++x)
            pixels[y * 640 + x] = row[x] & 0xFFFFFF;
    }
    displayContext.backBuffer->Unlock(NULL);
    return pixels;
}
