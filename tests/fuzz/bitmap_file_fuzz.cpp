// libFuzzer target: any bytes either decode to a consistent picture or are
// refused; the sanitizers catch every read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gdi/bitmap_file.h"

namespace {

bool IsFileDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

bool IsConsistent(const platform::gdi::DecodedBitmap& bitmap)
{
    if (bitmap.width <= 0 || bitmap.height <= 0 || !IsFileDepth(bitmap.bitsPerPixel)) return false;
    if (bitmap.pixels.size() != static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height)) return false;
    for (uint32_t pixel : bitmap.pixels)
        if (pixel > 0xFFFFFF) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto bitmap = platform::gdi::DecodeBitmapFile(std::span<const uint8_t>(data, size));
    if (bitmap && !IsConsistent(*bitmap)) std::abort();
    return 0;
}
