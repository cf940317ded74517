// Windows bitmap files (.bmp) decoded into plain 0x00RRGGBB pixels. Pure and
// host-independent: the file arrives as bytes, whatever its origin, and may be
// hostile, so every length, offset and size is checked against the bytes given.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::gdi {

struct DecodedBitmap {
    int width = 0; // > 0
    int height = 0; // > 0, whatever the sign in the file
    bool topDown = false; // the file stored rows top to bottom (negative height)
    int bitsPerPixel = 0; // as in the file: 1, 4, 8, 16, 24 or 32
    std::vector<uint32_t> pixels; // 0x00RRGGBB, width * height, top row first always
};

// Reads BITMAPFILEHEADER followed by a BITMAPCOREHEADER, BITMAPINFOHEADER,
// BITMAPV2/V3INFOHEADER, BITMAPV4HEADER or BITMAPV5HEADER, with uncompressed
// (BI_RGB, BI_BITFIELDS) or run-length (BI_RLE8, BI_RLE4) pixels.
//
// Choices where files differ from the ideal:
// - a palette index past the palette's entries is black;
// - RLE pixels the data never writes keep palette index 0;
// - RLE runs and literals past the right edge are clipped; pixels, line ends
//   or deltas above the top row, or a delta past the right edge, refuse the file;
// - RLE data must end with an end-of-bitmap code;
// - the alpha channel, colour spaces and the header's image size are ignored.
//
// Returns nullopt for anything else: truncated or inconsistent files, unknown
// header sizes or compressions (BI_JPEG, BI_PNG), pixels the file could not
// hold, and pictures above 32768 pixels a side or 256 Mi pixels in all.
std::optional<DecodedBitmap> DecodeBitmapFile(std::span<const uint8_t> file);

} // namespace platform::gdi
