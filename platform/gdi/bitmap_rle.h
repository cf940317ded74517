// The run-length encodings of bitmap files (BI_RLE8, BI_RLE4), decoded into
// palette indices. Used by the bitmap file decoder only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::gdi {

// Decodes `data` (everything from the pixel offset to the end of the file)
// with 8 or 4 bits an index into width * height indices, bottom row first as
// stored. Pixels never written are index 0. Nullopt when the data runs off its
// end before an end-of-bitmap code, or writes, ends lines or moves above the
// top row, or moves past the right edge.
std::optional<std::vector<uint8_t>> DecodeRle(std::span<const uint8_t> data, int bitsPerIndex, int width, int height);

} // namespace platform::gdi
