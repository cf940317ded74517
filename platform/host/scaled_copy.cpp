#include "host/scaled_copy.h"

#include <algorithm>

namespace platform::host {
namespace {

// `columns` target pixels from a source row, starting `offset` target
// pixels into the scaled row; no division per pixel.
void ScaleRow(const uint32_t* source, int factor, int64_t offset, uint32_t* out, int columns)
{
    int64_t column = offset / factor;
    int phase = int(offset % factor);
    for (int i = 0; i < columns; ++i) {
        out[i] = source[column];
        if (++phase == factor) {
            phase = 0;
            ++column;
        }
    }
}

} // namespace

void CopyScaled(const ReadOnlyPixelView& picture, int factor, const PixelView& target, int x, int y)
{
    if (!picture.pixels || !target.pixels || factor < 1 || picture.width <= 0 || picture.height <= 0) return;
    if (picture.bytesPerPixel != 4 || target.bytesPerPixel != 4 || !picture.RowsFit() || !target.RowsFit()) return;
    const int64_t left = std::max(x, 0);
    const int64_t top = std::max(y, 0);
    const int64_t right = std::min<int64_t>(target.width, int64_t(x) + int64_t(picture.width) * factor);
    const int64_t bottom = std::min<int64_t>(target.height, int64_t(y) + int64_t(picture.height) * factor);
    if (left >= right || top >= bottom) return;
    const int columns = int(right - left);
    int64_t lastSourceRow = -1;
    const uint32_t* lastRow = nullptr;
    for (int64_t row = top; row < bottom; ++row) {
        uint32_t* out = target.Row<uint32_t>(row) + left;
        const int64_t sourceRow = (row - y) / factor;
        // The rows of one block are alike: the first is scaled, the rest copied.
        if (sourceRow == lastSourceRow) {
            std::copy_n(lastRow, columns, out);
        } else {
            ScaleRow(picture.Row<uint32_t>(sourceRow), factor, left - x, out, columns);
            lastSourceRow = sourceRow;
        }
        lastRow = out;
    }
}

} // namespace platform::host
