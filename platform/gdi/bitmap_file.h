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
// Caps on the decoded picture, checked before anything is allocated for it,
// whatever the compression: a few kilobytes of run-length data could
// otherwise claim gigabytes. The program's largest picture is 600 by 480;
// 16 Mi pixels is 64 MiB decoded at four bytes a pixel, and a surface of the
// same size again, which any machine that runs the program can spare.
inline constexpr int64_t kMaxBitmapSide = 16384;
inline constexpr int64_t kMaxBitmapPixels = int64_t { 1 } << 24;

// Bytes of a stored row: rows are padded to whole 32-bit words.
constexpr int64_t BitmapRowBytes(int64_t width, int64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// The file cap follows from the pixel cap: a larger file is refused unread,
// and every picture within the caps fits. The largest such file has the
// file header, the largest info header (BITMAPV5HEADER), a full palette and
// the pixels at 32 bits each, whose rows need no padding.
inline constexpr int64_t kBitmapFileHeaderBytes = 14;
inline constexpr int64_t kLargestBitmapInfoHeaderBytes = 124;
inline constexpr int64_t kLargestBitmapPaletteBytes = 256 * 4;
inline constexpr int64_t kMaxBitmapPixelBytes
    = BitmapRowBytes(kMaxBitmapSide, 32) * (kMaxBitmapPixels / kMaxBitmapSide);
inline constexpr int64_t kMaxBitmapFileBytes
    = kBitmapFileHeaderBytes + kLargestBitmapInfoHeaderBytes + kLargestBitmapPaletteBytes + kMaxBitmapPixelBytes;
// Any shallower depth needs at most 3 bytes a pixel and 4 of padding a row.
static_assert(3 * kMaxBitmapPixels + 4 * kMaxBitmapSide <= kMaxBitmapPixelBytes);

// Why a file was refused, for the diagnostic that names it.
enum class BitmapRefusal {
    NotABitmap, // no "BM" signature, or a header of no known size
    Unsupported, // a bitmap kind not read here: BI_JPEG, BI_PNG, 2 bits a pixel...
    TooLarge, // past the caps above
    Damaged, // truncated, inconsistent, or run-length data that breaks its rules
};

// Returns nullopt for anything else (and says why in `refusal` when given):
// truncated or inconsistent files, unknown header sizes or compressions,
// pixels the file could not hold, and pictures past the caps.
std::optional<DecodedBitmap> DecodeBitmapFile(std::span<const uint8_t> file, BitmapRefusal* refusal = nullptr);

// A few words for the diagnostic: "not a Windows bitmap", "too large (...)".
const char* DescribeRefusal(BitmapRefusal refusal);

} // namespace platform::gdi
