// Memory a host keeps itself for a screen it lends: the headless host's
// screens, and a desktop host's where its window cannot hold the pixels
// (a scaled window, full screen).
#pragma once

#include <cstdint>
#include <vector>

#include "common/pixel_memory.h"
#include "host/host.h"

namespace platform::host {

class ScreenMemory {
public:
    // `width` by `height` pixels of `bytesPerPixel`, rows packed: what it
    // held, or black when the size changed. Null pixels for an empty size
    // or one there is no memory for.
    PixelView Lend(int width, int height, int bytesPerPixel);
    // As last lent; null pixels before.
    const PixelView& Pixels() const { return lent_; }
    // Black again, the same size.
    void Clear();

private:
    PixelMemory bytes_;
    PixelView lent_;
};

// `area` of `memory` (5-6-5 or 0x00RRGGBB, as its bytes per pixel say) as a
// 0x00RRGGBB picture of the whole memory's size, into `picture`, whose rows
// outside `area` are left as they are.
void ToXrgb(const ReadOnlyPixelView& memory, const Rectangle& area, std::vector<uint32_t>& picture);

} // namespace platform::host
