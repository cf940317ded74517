// PNG files of a canvas: 8-bit RGBA, no interlace, what every icon theme
// and software centre reads. Written chunk by chunk; zlib does the deflate.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

namespace pictures {

std::vector<uint8_t> EncodePngRgba(const Canvas& canvas);

} // namespace pictures
