#include "host/screen_memory.h"

#include <algorithm>
#include <cstring>

#include "common/rgb565.h"

namespace platform::host {

LentPixels ScreenMemory::Lend(int width, int height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0 || (bytesPerPixel != 2 && bytesPerPixel != 4)) return {};
    if (lent_.pixels && width == lent_.width && height == lent_.height && bytesPerPixel == bytesPerPixel_) return lent_;
    lent_ = {};
    bytes_ = PixelMemory::Allocate(size_t(width) * size_t(height) * size_t(bytesPerPixel));
    if (!bytes_) return {};
    bytesPerPixel_ = bytesPerPixel;
    lent_ = LentPixels { bytes_.Data(), width, height, width * bytesPerPixel };
    return lent_;
}

void ScreenMemory::Clear()
{
    if (bytes_) std::memset(bytes_.Data(), 0, bytes_.Size());
}

void ToXrgb(const LentPixels& memory, int bytesPerPixel, const Rectangle& area, std::vector<uint32_t>& picture)
{
    if (!memory.pixels || memory.width <= 0 || memory.height <= 0) return;
    picture.resize(size_t(memory.width) * size_t(memory.height));
    const int left = std::max(0, int(area.left)), right = std::min(memory.width, int(area.right));
    const int top = std::max(0, int(area.top)), bottom = std::min(memory.height, int(area.bottom));
    for (int y = top; y < bottom; ++y) {
        const uint8_t* row = memory.pixels + ptrdiff_t(y) * memory.pitch;
        uint32_t* out = picture.data() + ptrdiff_t(y) * memory.width;
        if (bytesPerPixel == 2) {
            if (left < right) rgb565::WidenRow(out + left, row + ptrdiff_t(left) * 2, right - left);
            continue;
        }
        // The top byte is not part of what a screen shows.
        for (int x = left; x < right; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, row + ptrdiff_t(x) * 4, 4);
            out[x] = pixel & 0x00FFFFFFu;
        }
    }
}

} // namespace platform::host
