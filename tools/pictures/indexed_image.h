// A picture reduced to 256 colours, as 8-bit bitmaps and icons store it.
#pragma once

#include "canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictures {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette; // 256 entries, 0x00RRGGBB; entry 0 is black
    std::vector<uint8_t> indices; // rows top to bottom
    std::vector<bool> transparent; // rows top to bottom; the icon's AND mask
};

// Exact when the canvas has at most 255 opaque colours besides black;
// otherwise every pixel takes the nearest colour of a fixed palette.
// Transparent pixels get index 0 (black), as icon masks expect.
IndexedImage ToIndexed(const Canvas& canvas);

} // namespace pictures
