#include "host/screen_memory.h"

#include <algorithm>
#include <cstring>

#include "common/rgb565.h"

namespace platform::host {

PixelView ScreenMemory::Lend(int width, int height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0 || (bytesPerPixel != 2 && bytesPerPixel != 4)) return {};
    if (lent_.pixels && width == lent_.width && height == lent_.height && bytesPerPixel == lent_.bytesPerPixel)
        return lent_;
    lent_ = {};
    bytes_ = PixelMemory::Allocate(size_t(width) * size_t(height) * size_t(bytesPerPixel));
    if (!bytes_) return {};
    lent_ = PixelView { bytes_.Data(), width, height, width * bytesPerPixel, bytesPerPixel };
    return lent_;
}

void ScreenMemory::Clear()
{
    if (bytes_) std::memset(bytes_.Data(), 0, bytes_.Size());
}

void ToXrgb(const ReadOnlyPixelView& memory, const Rectangle& area, std::vector<uint32_t>& picture)
{
    if (!memory.pixels || memory.width <= 0 || memory.height <= 0) return;
    picture.resize(size_t(memory.width) * size_t(memory.height));
    const Rectangle inside = Intersect(area, memory.Bounds());
    const int left = int(inside.left), right = int(inside.right);
    for (int64_t y = inside.top; y < inside.bottom; ++y) {
        const uint8_t* row = memory.Row(y);
        uint32_t* out = picture.data() + ptrdiff_t(y) * memory.width;
        if (memory.bytesPerPixel == 2) {
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
